// Windows backend of the store's file services.

#include "store/store_files.hpp"

#include "platform/win32/module_path.hpp"

#include <windows.h>

#include <limits>

namespace ludrin::store {
namespace {

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Closes on every path out.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (Valid()) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != FALSE;
    }

private:
    HANDLE handle_;
};

std::wstring WithBackslash(std::wstring path) {
    if (!path.empty() && path.back() != L'\\') {
        path.push_back(L'\\');
    }
    return path;
}

// A folder the API writes into a buffer of 260 characters.
template <typename Query> std::wstring FolderFrom(Query query) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = query(buffer, MAX_PATH);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    return WithBackslash(std::wstring(buffer, length));
}

std::wstring ApplicationTitle() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring name(buffer, length < MAX_PATH ? length : 0);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

} // namespace

bool IsPathDelimiter(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsDirectoryExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void MakeFolder(const std::wstring& path) {
    CreateDirectoryW(path.c_str(), nullptr);
}

bool FileExists(const std::wstring& path) {
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::int64_t ExtractFileSize(const std::wstring& path) {
    // No access rights are needed to ask for the size, so a locked file still answers.
    Handle file(CreateFileW(path.c_str(), 0, kShareReadWrite, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) {
        return -1;
    }
    return size.QuadPart;
}

bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> data) {
    if (path.empty() || data.size() > std::numeric_limits<DWORD>::max()) {
        return false;
    }
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, kShareReadWrite, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    return ok && written == data.size() && file.Close();
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path) {
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, kShareReadWrite, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!data.empty() &&
        (!ReadFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr) ||
         read != data.size())) {
        return std::nullopt;
    }
    return data;
}

bool DeleteFileAt(const std::wstring& path) {
    return DeleteFileW(path.c_str()) != FALSE;
}

bool RemoveFolder(const std::wstring& path) {
    return RemoveDirectoryW(path.c_str()) != FALSE;
}

bool IsDirectoryEmpty(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((WithBackslash(path) + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool empty = true;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            empty = false;
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return empty;
}

std::wstring GetWindowsDir() {
    return FolderFrom([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); });
}

std::wstring GetSystemDir() {
    return FolderFrom([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
}

std::wstring GetTempDir() {
    return FolderFrom([](wchar_t* b, UINT n) { return static_cast<UINT>(GetTempPathW(n, b)); });
}

std::wstring ExecutableDir() {
    return win32::ModuleFolder();
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

void ShowErrorMessage(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), ApplicationTitle().c_str(),
                MB_OK | MB_ICONERROR | MB_TOPMOST);
}

} // namespace ludrin::store
