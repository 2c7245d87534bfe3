#pragma once
// Windows' rules for names, applied on every host: an archive that a check on Linux
// passes must install the same way on Windows.

#include <string>
#include <string_view>
#include <vector>

namespace ludrin::zip {

class TZipDirArray;

// False for a name with a component Windows cannot create as given: one holding
// <>:"|?* or a character 1-31, or ending in a dot or a blank (Windows drops them, so
// "x.dll." would land on "x.dll"). "." components and separators are fine.
bool IsPlaceableOnWindows(std::wstring_view name);

// The name as Windows compares names: separators as backslashes, letters upper-cased by
// the simple mapping of the scripts file names use (Latin, Greek, Cyrillic).
std::wstring FoldedAsWindows(std::wstring_view name);

// The entries that Windows would refuse or write over another entry's file: one line
// each, "name: reason", in directory order.
std::vector<std::wstring> WindowsNameProblems(const TZipDirArray& dir);

} // namespace ludrin::zip
