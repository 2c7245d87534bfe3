#include "zip/zip_target_path.hpp"

#include "platform/fs/path_separator.hpp"

#include <algorithm>

namespace ludrin::zip {
namespace {

bool IsParentStep(std::wstring_view part) {
    return std::count(part.begin(), part.end(), L'.') >= 2 &&
           part.find_first_not_of(L". ") == std::wstring_view::npos;
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

bool EscapesBaseFolder(std::wstring_view name) {
    if (name.find(L':') != std::wstring_view::npos ||
        name.find(L"\\\\") != std::wstring_view::npos ||
        (!name.empty() && (name.front() == L'\\' || name.front() == L'/'))) {
        return true;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const auto end = std::min(name.find_first_of(L"\\/", start), name.size());
        if (IsParentStep(name.substr(start, end - start))) {
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
