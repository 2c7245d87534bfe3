#include "platform/fs/fs.hpp"

#include "platform/fs/path_separator.hpp"
#include "platform/win32/unique_handle.hpp"

#include <windows.h>

#include <limits>
#include <string_view>

namespace ludrin::fs {
namespace {

constexpr DWORD kAbsent = INVALID_FILE_ATTRIBUTES;
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

using win32::UniqueFindHandle;
using win32::UniqueHandle;

// The attributes of what the path leads to: a link is opened through to its target.
DWORD TargetAttributes(const std::wstring& path) {
    if (path.empty()) {
        return kAbsent;
    }
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == kAbsent && GetLastError() == ERROR_SHARING_VIOLATION) {
        // Files held open exclusively (a page file, say) still exist: ask the folder.
        WIN32_FIND_DATAW data;
        const UniqueFindHandle find(FindFirstFileW(path.c_str(), &data));
        if (!find) {
            return kAbsent;
        }
        attributes = data.dwFileAttributes;
    }
    if (attributes == kAbsent || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return attributes;
    }
    const UniqueHandle target(CreateFileW(path.c_str(), 0, kShareReadWrite | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                          nullptr));
    if (!target) {
        return kAbsent; // a dangling link leads nowhere
    }
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(target.Get(), &info) != FALSE ? info.dwFileAttributes
                                                                    : kAbsent;
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

bool RemoveFolder(const std::wstring& path) {
    return !path.empty() && RemoveDirectoryW(path.c_str()) != FALSE;
}

bool IsFolderEmpty(const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    WIN32_FIND_DATAW found{};
    const UniqueFindHandle search(
        FindFirstFileW((WithTrailingSeparator(path) + L"*.*").c_str(), &found));
    if (!search) {
        return false;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            return false;
        }
    } while (FindNextFileW(search.Get(), &found));
    return true;
}

std::vector<std::wstring> FolderEntries(const std::wstring& path) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const UniqueFindHandle search(
        path.empty() ? INVALID_HANDLE_VALUE
                     : FindFirstFileW((WithTrailingSeparator(path) + L"*.*").c_str(), &found));
    if (!search) {
        return names;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.emplace_back(name);
        }
    } while (FindNextFileW(search.Get(), &found));
    return names;
}

std::optional<std::int64_t> FileSize(const std::wstring& path) {
    // No access rights are needed to ask for the size, so a locked file still answers.
    const UniqueHandle file(CreateFileW(path.c_str(), 0, kShareReadWrite, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (path.empty() || !file || !GetFileSizeEx(file.Get(), &size)) {
        return std::nullopt;
    }
    return size.QuadPart;
}

bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> data) {
    if (path.empty() || data.size() > std::numeric_limits<DWORD>::max()) {
        return false;
    }
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, kShareReadWrite, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    if (!ok || written != data.size() || !file.Reset()) {
        // A file cut short (a full disk, say) is no file of ours: it goes again.
        file.Reset();
        DeleteFileW(path.c_str());
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, kShareReadWrite, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || GetFileType(file.Get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.Get(), &size) ||
        size.QuadPart < 0 ||
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

} // namespace ludrin::fs
