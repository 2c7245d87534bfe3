#include "zip/zip_target_path.hpp"

#include "platform/fs/path_separator.hpp"
#include "platform/text/ascii_case.hpp"
#include "zip/windows_names.hpp"

#include <algorithm>

namespace ludrin::zip {
namespace {

bool IsParentStep(std::wstring_view part) {
    return std::count(part.begin(), part.end(), L'.') >= 2 &&
           part.find_first_not_of(L". ") == std::wstring_view::npos;
}

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, whatever the case, the extension and
// blanks before it: Windows opens the device, not a file in the folder.
bool IsDeviceName(std::wstring_view part) {
    std::wstring_view stem = part.substr(0, std::min(part.find(L'.'), part.size()));
    while (!stem.empty() && stem.back() == L' ') {
        stem.remove_suffix(1);
    }
    const std::wstring lower = text::AsciiLowered(stem);
    if (lower == L"con" || lower == L"prn" || lower == L"aux" || lower == L"nul" ||
        lower == L"conin$" || lower == L"conout$") {
        return true;
    }
    return lower.size() == 4 && (lower.starts_with(L"com") || lower.starts_with(L"lpt")) &&
           lower[3] >= L'1' && lower[3] <= L'9';
}

} // namespace

std::wstring WithBackslashes(std::wstring name) {
    std::replace(name.begin(), name.end(), L'/', L'\\');
    return name;
}

bool IsFolderEntry(const TDirItem& entry) {
    return (entry.CentralDir.externalAttr & kAttrDirectory) != 0 ||
           (!entry.Name.empty() && entry.Name.back() == L'/');
}

bool IsUnplaceable(std::wstring_view name) {
    if (!IsPlaceableOnWindows(name) || name.find(L':') != std::wstring_view::npos ||
        name.find(L"\\\\") != std::wstring_view::npos ||
        (!name.empty() && (name.front() == L'\\' || name.front() == L'/'))) {
        return true;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const auto end = std::min(name.find_first_of(L"\\/", start), name.size());
        const std::wstring_view part = name.substr(start, end - start);
        if (IsParentStep(part) || IsDeviceName(part)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::wstring PlatformRelativePath(std::wstring_view name) {
    std::wstring path(name);
    std::replace(path.begin(), path.end(), L'\\', fs::kPathSeparator);
    return path;
}

} // namespace ludrin::zip
