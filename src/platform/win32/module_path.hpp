#pragma once
// The full path of a loaded module (the running executable by default), however long.

#include <windows.h>

#include <string>

namespace ludrin::win32 {

inline std::wstring ModulePath(HMODULE module = nullptr) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // cut short: try a larger buffer
    }
}

// The module's folder, ending with its separator; empty when unknown.
inline std::wstring ModuleFolder(HMODULE module = nullptr) {
    const auto path = ModulePath(module);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

} // namespace ludrin::win32
