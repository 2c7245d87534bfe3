#include "platform/sysinfo/known_folders.hpp"
#include "platform/sysinfo/long_path.hpp"
#include "platform/sysinfo/special_folders.hpp"
#include "platform/sysinfo/system_info.hpp"
#include "platform/win32/unique_handle.hpp"

#include <windows.h>

#include <shlobj.h>

namespace ludrin::sysinfo {
namespace {

// The buffer size of the shell's path query, terminator included.
constexpr std::size_t kFolderBuffer = MAX_PATH + 1;

} // namespace

std::optional<std::wstring> StoredNameOnDisk(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    if (!win32::UniqueFindHandle(FindFirstFileW(path.c_str(), &found))) {
        return std::nullopt;
    }
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
    return SIGetLongPathName(TempFolder(), StoredNameOnDisk);
}

} // namespace ludrin::sysinfo
