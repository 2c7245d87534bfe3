#pragma once
// A folder a batch writes many files into, held open for the batch. On POSIX the files are
// then named from the open folder, so each call walks one name instead of the whole path
// from the root (most of a tiny file's cost). Windows has no such call in its API: there
// the folder is its path alone and nothing is held.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace ludrin::fs {

class OpenFolder {
public:
    // Opens an existing folder (a path with or without a trailing separator); nothing when
    // it cannot be opened.
    static std::optional<OpenFolder> Open(const std::wstring& path);
    OpenFolder(OpenFolder&& other) noexcept;
    OpenFolder& operator=(OpenFolder&& other) noexcept;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    // Whether `path` names something directly inside this folder.
    bool Holds(const std::wstring& path) const;
    // The platform's handle of the folder: a descriptor on POSIX, -1 on Windows.
    std::intptr_t Handle() const { return handle_; }

private:
    static void Release(std::intptr_t handle) noexcept; // the platform's own
    OpenFolder(std::wstring path, std::intptr_t handle) : path_(std::move(path)), handle_(handle) {}

    std::wstring path_;
    std::intptr_t handle_;
};

// The folder of the files being named, the last one asked for, held open: a batch names the
// files of one folder in a row, so a folder is opened once per run of them.
class RecentFolder {
public:
    // The open folder holding `path`; nothing when it cannot be opened (the path is then
    // used whole).
    const OpenFolder* Of(const std::wstring& path);

private:
    std::optional<OpenFolder> folder_;
};

} // namespace ludrin::fs
