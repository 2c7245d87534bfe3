#include "platform/sysinfo/long_path.hpp"
#include "platform/sysinfo/special_folders.hpp"
#include "platform/sysinfo/system_info.hpp"

#include <windows.h>

#include <shlobj.h>

namespace ludrin::sysinfo {
namespace {

// The buffer size of the shell's path query, terminator included.
constexpr std::size_t kFolderBuffer = MAX_PATH + 1;

} // namespace

std::optional<std::wstring> StoredNameOnDisk(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    FindClose(search);
    return std::wstring(found.cFileName);
}

std::wstring SIGetSpecialFolderPath(TSystemFolder kind) {
    wchar_t buffer[kFolderBuffer] = {};
    PIDLIST_ABSOLUTE items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, FolderCode(kind), &items)) &&
        items != nullptr) {
        if (!SHGetPathFromIDListW(items, buffer)) {
            buffer[0] = L'\0';
        }
    }
    if (items != nullptr) {
        CoTaskMemFree(items); // the shell's allocator
    }
    std::wstring path(buffer, wcsnlen(buffer, kFolderBuffer));
    // Some shells hand the documents folder back with a trailing separator; the folder
    // roots are defined without one (a drive root keeps it).
    if (path.size() > 3 && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

std::wstring SITempPath() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return SIGetLongPathName(std::wstring_view(buffer, length), StoredNameOnDisk);
}

} // namespace ludrin::sysinfo
