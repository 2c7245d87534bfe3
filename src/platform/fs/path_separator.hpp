#pragma once

namespace ludrin::fs {

// The separator the installation layout writes between components.
#ifdef _WIN32
inline constexpr wchar_t kPathSeparator = L'\\';
#else
inline constexpr wchar_t kPathSeparator = L'/';
#endif

} // namespace ludrin::fs
