#pragma once
// The long form of a Windows path: every existing component replaced by the name under
// which it is stored on disk (a short 8.3 name such as PROGRA~1 becomes the full name).

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ludrin::sysinfo {

// Asks the file system for the stored name of the last component of an existing path.
// Never called for a path that ends with a separator or holds a wildcard.
using StoredNameLookup = std::function<std::optional<std::wstring>(const std::wstring& path)>;

// The drive part ("C:" or "\\server\share") and the rest of a path.
struct DriveSplit {
    std::wstring_view drive;
    std::wstring_view rest;
};
DriveSplit SplitDrive(std::wstring_view path);

// Components that do not exist stay as written; a drive root gives the drive alone
// ("C:\" gives "C:"); a trailing separator stays.
std::wstring SIGetLongPathName(std::wstring_view path, const StoredNameLookup& lookup);

} // namespace ludrin::sysinfo
