#pragma once
// Arguments "--name=value" that CTest hands to a test program beside GoogleTest's own.

#include <string>

namespace ludrin::testing {

// The value of --name=value, a Linux path turned into the Wine path that names it;
// an empty text when the argument is absent.
std::wstring Argument(const std::wstring& name);

void RememberArguments(int argc, wchar_t** argv);
void RememberArguments(int argc, char** argv);

} // namespace ludrin::testing
