#pragma once
// DLLs outside the KnownDLLs list, loaded from the system folder only: an installer is run
// from Downloads, where anyone may have dropped a DLL of the same name.

#include <windows.h>

namespace ludrin::win32 {

// The DLL, already loaded or loaded now from the system folder; null when it cannot be.
inline HMODULE SystemLibrary(const wchar_t* dll) {
    HMODULE module = GetModuleHandleW(dll);
    if (module == nullptr) {
        module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    return module;
}

template <typename Function> Function SystemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = SystemLibrary(dll);
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace ludrin::win32
