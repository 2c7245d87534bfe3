#include "platform/fs/fs.hpp"

#include <windows.h>

namespace ludrin::fs {
namespace {

constexpr DWORD kAbsent = INVALID_FILE_ATTRIBUTES;

// The attributes of what the path leads to: a link is opened through to its target.
DWORD TargetAttributes(const std::wstring& path) {
    if (path.empty()) {
        return kAbsent;
    }
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == kAbsent && GetLastError() == ERROR_SHARING_VIOLATION) {
        // Files held open exclusively (a page file, say) still exist: ask the folder.
        WIN32_FIND_DATAW data;
        const HANDLE find = FindFirstFileW(path.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return kAbsent;
        }
        FindClose(find);
        attributes = data.dwFileAttributes;
    }
    if (attributes == kAbsent || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return attributes;
    }
    const HANDLE target =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (target == INVALID_HANDLE_VALUE) {
        return kAbsent; // a dangling link leads nowhere
    }
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(target, &info) != FALSE;
    CloseHandle(target);
    return known ? info.dwFileAttributes : kAbsent;
}

} // namespace

bool FileExists(const std::wstring& path) {
    const DWORD attributes = TargetAttributes(path);
    return attributes != kAbsent && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::wstring& path) {
    const DWORD attributes = TargetAttributes(path);
    return attributes != kAbsent && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveFile(const std::wstring& path) {
    return !path.empty() && DeleteFileW(path.c_str()) != FALSE;
}

bool CreateFolder(const std::wstring& path) {
    return !path.empty() && CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

} // namespace ludrin::fs
