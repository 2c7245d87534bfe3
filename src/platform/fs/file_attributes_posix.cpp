// Attributes, times and folders as extraction needs them. POSIX has no DOS attributes: a
// file without any write permission counts as read-only, as elsewhere in this layer.

#include "platform/fs/attributes_posix.hpp"
#include "platform/fs/fs.hpp"
#include "platform/fs/path_separator.hpp"
#include "platform/text/utf.hpp"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <exception>
#include <fstream>
#include <vector>

namespace ludrin::fs {
namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr std::uint32_t kReadOnly = 0x1;
constexpr std::uint32_t kDirectory = 0x10;
constexpr std::uint32_t kArchive = 0x20;

bool StatPath(const std::wstring& path, struct stat& st) {
    return !path.empty() && ::stat(text::WideToUtf8(path).c_str(), &st) == 0;
}

// The kernel's removable flag of the block device (its parent disk for a partition).
bool DeviceIsRemovable(dev_t device) {
    const std::string base =
        "/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device));
    for (const char* leaf : {"/removable", "/../removable"}) {
        std::ifstream flag(base + leaf);
        char value = '0';
        if (flag >> value) {
            return value == '1';
        }
    }
    return false;
}

} // namespace

std::uint32_t AttributesOfMode(mode_t mode) {
    if (S_ISDIR(mode)) {
        return kDirectory;
    }
    return (mode & kWriteBits) == 0 ? kArchive | kReadOnly : kArchive;
}

std::optional<std::uint32_t> GetAttributes(const std::wstring& path) {
    struct stat st {};
    if (!StatPath(path, st)) {
        return std::nullopt;
    }
    return AttributesOfMode(st.st_mode);
}

bool SetAttributes(const std::wstring& path, std::uint32_t attributes) {
    struct stat st {};
    if (!StatPath(path, st)) {
        return false;
    }
    const mode_t mode = (attributes & kReadOnly) != 0
                            ? st.st_mode & ~kWriteBits
                            : ((st.st_mode & kWriteBits) == 0 ? st.st_mode | S_IWUSR : st.st_mode);
    return mode == st.st_mode || ::chmod(text::WideToUtf8(path).c_str(), mode & 07777) == 0;
}

bool SetAttributesChanges(std::uint32_t current, std::uint32_t attributes) {
    return (current & kReadOnly) != (attributes & kReadOnly);
}

bool IsOnRemovableDrive(const std::wstring& path) {
    return IsRemovableVolume(VolumeOf(path));
}

std::wstring VolumeOf(const std::wstring& path) {
    struct stat st {};
    std::wstring probe = path;
    // The target may not exist yet: ask the nearest folder that does.
    while (!probe.empty() && !StatPath(probe, st)) {
        const std::wstring_view parent = FolderPart(probe);
        probe = parent.size() < probe.size() ? std::wstring(parent) : std::wstring();
        while (probe.size() > 1 && IsPathSeparator(probe.back())) {
            probe.pop_back();
        }
    }
    return probe.empty() ? std::wstring() : std::to_wstring(st.st_dev);
}

bool IsRemovableVolume(const std::wstring& volume) {
    if (volume.empty()) {
        return false;
    }
    try {
        return DeviceIsRemovable(static_cast<dev_t>(std::stoull(volume)));
    } catch (const std::exception&) {
        return false; // not a key of VolumeOf
    }
}

std::optional<std::uint32_t> LastWriteDosDateTime(const std::wstring& path) {
    struct stat st {};
    std::tm local{};
    if (!StatPath(path, st) || ::localtime_r(&st.st_mtime, &local) == nullptr ||
        local.tm_year < 80 || local.tm_year > 207) {
        return std::nullopt;
    }
    const auto date = static_cast<std::uint32_t>(((local.tm_year - 80) << 9) |
                                                 ((local.tm_mon + 1) << 5) | local.tm_mday);
    const auto time = static_cast<std::uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                                 (local.tm_sec / 2));
    return (date << 16) | time;
}

std::wstring CurrentFolder() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    return text::Utf8ToWide(buffer.data());
}

} // namespace ludrin::fs
