#include "platform/sysinfo/known_folders.hpp"

#include "platform/fs/path_separator.hpp"
#include "platform/win32/module_path.hpp"

#include <windows.h>

namespace ludrin::sysinfo {
namespace {

// A folder the API writes into a buffer of 260 characters.
template <typename Query> std::wstring FolderFrom(Query query) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = query(buffer, MAX_PATH);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    return fs::WithTrailingSeparator(std::wstring(buffer, length));
}

} // namespace

std::wstring WindowsFolder() {
    return FolderFrom([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); });
}

std::wstring SystemFolder() {
    return FolderFrom([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
}

std::wstring TempFolder() {
    return FolderFrom([](wchar_t* b, UINT n) { return static_cast<UINT>(GetTempPathW(n, b)); });
}

std::wstring RunningExecutablePath() {
    return win32::ModulePath();
}

std::wstring ShellFolder(std::wstring_view valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_READ, &key) != ERROR_SUCCESS) {
        return {};
    }
    wchar_t buffer[512] = {}; // 1,024 bytes
    DWORD type = 0;
    DWORD bytes = sizeof buffer - sizeof(wchar_t); // room for a terminator the value may lack
    const std::wstring name(valueName);
    const LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &bytes);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || bytes == 0) {
        return {};
    }
    std::wstring value(buffer, bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') {
        value.pop_back();
    }
    return value;
}

} // namespace ludrin::sysinfo
