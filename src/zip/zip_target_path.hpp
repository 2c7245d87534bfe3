#pragma once
// Where an entry lands below the base folder. Names are handled with backslash separators,
// as the events show them; the file system gets the platform's own.

#include "zip/zip_records.hpp"

#include <string>
#include <string_view>

namespace ludrin::zip {

// The name as events show it: every slash a backslash.
std::wstring WithBackslashes(std::wstring name);

// A folder entry: the directory attribute, or else a stored name ending in '/'.
bool IsFolderEntry(const TDirItem& entry);

// True for a name that cannot be placed below the base folder as given: a drive ("C:x"),
// a UNC or rooted path ("\\server\x", "\x"), a ".." step (Windows also drops trailing
// dots and blanks, so "... " counts as one), a DOS device name ("CON", "nul.txt"), or a
// name against Windows' rules (IsPlaceableOnWindows), on every host alike.
bool IsUnplaceable(std::wstring_view name);

// The name with its backslashes turned into the platform's separator.
std::wstring PlatformRelativePath(std::wstring_view name);

} // namespace ludrin::zip
