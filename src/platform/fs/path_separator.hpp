#pragma once
// Path separators: the platform's own for paths this program builds, the Windows one for
// the Windows path algorithms that run everywhere, and the folder and name of a path.

#include <string>
#include <string_view>

namespace ludrin::fs {

inline constexpr wchar_t kWindowsSeparator = L'\\';

#ifdef _WIN32
inline constexpr wchar_t kPathSeparator = kWindowsSeparator;
#else
inline constexpr wchar_t kPathSeparator = L'/';
#endif

// A character that ends a folder name in a path: Windows also takes the forward slash.
constexpr bool IsPathSeparator(wchar_t c) {
    return c == kPathSeparator || (kPathSeparator == kWindowsSeparator && c == L'/');
}

// The path with a separator at its end; an empty path stays empty.
inline std::wstring WithTrailingSeparator(std::wstring path) {
    if (!path.empty() && !IsPathSeparator(path.back())) {
        path.push_back(kPathSeparator);
    }
    return path;
}

// The text up to and including the last separator (empty when there is none).
inline std::wstring_view FolderPart(std::wstring_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1])) {
            return path.substr(0, i);
        }
    }
    return {};
}

// The text after the last separator.
inline std::wstring_view NamePart(std::wstring_view path) {
    return path.substr(FolderPart(path).size());
}

} // namespace ludrin::fs
