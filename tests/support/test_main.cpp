// GoogleTest's start, keeping the --name=value arguments that CTest passes on.

#include "support/test_arguments.hpp"

#include <gtest/gtest.h>

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    ::testing::InitGoogleTest(&argc, argv);
    ludrin::testing::RememberArguments(argc, argv);
    return RUN_ALL_TESTS();
}
