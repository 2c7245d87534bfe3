#include "platform/exeinfo/exe_info.hpp"
#include "support/test_arguments.hpp"

#include <gtest/gtest.h>

namespace ludrin::exeinfo {
namespace {

using ludrin::testing::Argument;

TEST(ExeInfoWin, TheInstallersVersionResource) {
    TExeInfo info;
    ASSERT_TRUE(info.GetVersionInfoOfApp(Argument(L"installer")));
    EXPECT_EQ(info.FileVersion, L"1.0.0.0");
    EXPECT_EQ(info.CompanyName, L"Suite Brenvoss");
    EXPECT_EQ(info.ProductName, L"Ludrin");
    EXPECT_EQ(info.LegalTradeMark, L"");   // not in the resource
    EXPECT_EQ(info.FileType, 1);           // an application
    EXPECT_GT(info.FileCreation, 40000.0); // no file date: the executable's write time
}

TEST(ExeInfoWin, OnlyTheFirstTranslationCounts) {
    TExeInfo info;
    ASSERT_TRUE(info.GetVersionInfoOfApp(Argument(L"version-fixture")));
    EXPECT_EQ(info.CompanyName, L"First Translation");
    EXPECT_EQ(info.ProductName, L"Fixture");
    EXPECT_EQ(info.FileVersion, L""); // missing under the first translation
    EXPECT_EQ(info.GetVersionPart(0), -1);
    EXPECT_EQ(info.FileFlags, 1); // VS_FF_DEBUG, masked
}

TEST(ExeInfoWin, WithoutAResourceTheTextsSayUpdatedAtRunTime) {
    // This test program carries no version resource.
    const TExeInfo info;
    EXPECT_EQ(info.FileVersion, kUpdatedAtRunTime);
    EXPECT_EQ(info.Comments, kUpdatedAtRunTime);
    EXPECT_EQ(info.FileCreation, 0.0);
    EXPECT_FALSE(info.ComputerName.empty());
}

} // namespace
} // namespace ludrin::exeinfo
