#include "platform/sysinfo/long_path.hpp"

#include "platform/fs/path_separator.hpp"

#include <algorithm>

namespace ludrin::sysinfo {
namespace {

// The algorithm reads Windows paths on every platform.
constexpr wchar_t kSep = fs::kWindowsSeparator;

bool IsLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

std::wstring_view Parent(std::wstring_view path) {
    if (path.ends_with(kSep)) {
        return path.substr(0, path.size() - 1);
    }
    const auto sep = path.rfind(kSep);
    auto parent = path.substr(0, sep);
    // The parent of C:\Users is C:\, not the drive-relative C:.
    if (parent.ends_with(L':')) {
        parent = path.substr(0, sep + 1);
    }
    return parent;
}

std::wstring_view LastComponent(std::wstring_view path) {
    const auto cut = path.find_last_of(L"\\:");
    return cut == std::wstring_view::npos ? path : path.substr(cut + 1);
}

std::optional<std::wstring> LookUp(std::wstring_view path, const StoredNameLookup& lookup) {
    // A trailing separator never matches, and a wildcard would match some other entry.
    if (path.ends_with(kSep) || path.find_first_of(L"*?") != std::wstring_view::npos) {
        return std::nullopt;
    }
    return lookup(std::wstring(path));
}

} // namespace

DriveSplit SplitDrive(std::wstring_view path) {
    std::size_t driveLength = 0;
    if (path.size() >= 2 && IsLetter(path[0]) && path[1] == L':') {
        driveLength = 2;
    } else if (path.starts_with(L"\\\\")) {
        // \\server\share: up to the separator after the share name, or the end.
        const auto serverEnd = path.find(kSep, 2);
        driveLength = serverEnd == std::wstring_view::npos
                          ? path.size()
                          : std::min(path.find(kSep, serverEnd + 1), path.size());
    }
    return {path.substr(0, driveLength), path.substr(driveLength)};
}

std::wstring SIGetLongPathName(std::wstring_view path, const StoredNameLookup& lookup) {
    const auto [drive, rest] = SplitDrive(path);
    if (rest.empty() || rest == L"\\") {
        return std::wstring(path.ends_with(kSep) ? path.substr(0, path.size() - 1) : path);
    }
    if (path.find(kSep) == std::wstring_view::npos) {
        // A single relative component (or C:name): nothing above it to resolve.
        const auto stored = LookUp(path, lookup);
        return stored ? std::wstring(path.substr(0, path.size() - LastComponent(path).size())) +
                            *stored
                      : std::wstring(path);
    }
    const auto parent = Parent(path);
    std::wstring result = parent.empty() ? std::wstring() : SIGetLongPathName(parent, lookup);
    result += kSep;
    if (const auto stored = LookUp(path, lookup)) {
        result += *stored;
    } else {
        result += LastComponent(path);
    }
    return result;
}

} // namespace ludrin::sysinfo
