// Attributes, times and folders as extraction needs them.

#include "platform/fs/fs.hpp"
#include "platform/fs/path_separator.hpp"
#include "platform/win32/unique_handle.hpp"

#include <windows.h>

#include <cwctype>
#include <vector>

namespace ludrin::fs {
namespace {

// The bits a file can be given; directory, volume label and the rest are the system's.
constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                            FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

} // namespace

std::optional<std::uint32_t> GetAttributes(const std::wstring& path) {
    const DWORD attributes =
        path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

bool SetAttributes(const std::wstring& path, std::uint32_t attributes) {
    const DWORD settable = attributes & kSettable;
    return !path.empty() &&
           SetFileAttributesW(path.c_str(), settable == 0 ? FILE_ATTRIBUTE_NORMAL : settable);
}

bool SetAttributesChanges(std::uint32_t current, std::uint32_t attributes) {
    return (current & kSettable) != (attributes & kSettable);
}

bool IsOnRemovableDrive(const std::wstring& path) {
    return IsRemovableVolume(VolumeOf(path));
}

std::wstring VolumeOf(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':') {
        const wchar_t letter = static_cast<wchar_t>(std::towupper(path[0]));
        if (letter == L'A' || letter == L'B') {
            return std::wstring{letter, L':', L'\\'}; // floppy drives: never probed
        }
    }
    std::vector<wchar_t> volume(path.size() + MAX_PATH + 1);
    if (path.empty() ||
        !GetVolumePathNameW(path.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) {
        return {};
    }
    return volume.data();
}

bool IsRemovableVolume(const std::wstring& volume) {
    if (volume.size() >= 2 && volume[1] == L':' &&
        (volume[0] == L'A' || volume[0] == L'B' || volume[0] == L'a' || volume[0] == L'b')) {
        return true;
    }
    return !volume.empty() && GetDriveTypeW(volume.c_str()) == DRIVE_REMOVABLE;
}

std::optional<std::uint32_t> LastWriteDosDateTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FILETIME local{};
    WORD date = 0;
    WORD time = 0;
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !FileTimeToDosDateTime(&local, &date, &time)) {
        return std::nullopt;
    }
    return (static_cast<std::uint32_t>(date) << 16) | time;
}

std::wstring CurrentFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::vector<wchar_t> buffer(size + 1);
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    return length == 0 || length >= buffer.size() ? std::wstring()
                                                  : std::wstring(buffer.data(), length);
}

} // namespace ludrin::fs
