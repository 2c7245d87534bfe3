#include "platform/process/delete_directory.hpp"

#include "platform/text/utf.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace ludrin::process {
namespace {

// Far deeper than anything the installer makes (a Windows path of 260 characters holds
// about 130 levels), and shallow enough that the walk, which keeps one folder open per
// level, stays within the usual 1024 open files and any thread's stack.
constexpr int kMaxDepth = 512;

bool IsReadOnlyFile(const struct stat& st) {
    return S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// The names in an open folder, "." and ".." left out. They are read before anything is
// removed: removing entries while reading the folder may skip some.
std::vector<std::string> EntriesOf(DIR* folder) {
    std::vector<std::string> entries;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view entryName(entry->d_name);
        if (entryName != "." && entryName != "..") {
            entries.emplace_back(entryName);
        }
    }
    return entries;
}

// The folder `name` of the folder parentFd, opened without following a link; nothing
// when it cannot be opened.
DIR* OpenFolder(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    DIR* folder = ::fdopendir(fd);
    if (folder == nullptr) {
        ::close(fd);
    }
    return folder;
}

bool IsFolderAt(int fd, const std::string& entry) {
    struct stat st {};
    return ::fstatat(fd, entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

// Whether the folder `name` nests folders deeper than `levelsLeft` below itself.
bool DeeperThan(int parentFd, const char* name, int levelsLeft) {
    DIR* folder = OpenFolder(parentFd, name);
    if (folder == nullptr) {
        return false;
    }
    const int fd = ::dirfd(folder);
    bool deeper = false;
    for (const auto& entry : EntriesOf(folder)) {
        if (IsFolderAt(fd, entry) &&
            (levelsLeft == 0 || DeeperThan(fd, entry.c_str(), levelsLeft - 1))) {
            deeper = true;
            break;
        }
    }
    ::closedir(folder);
    return deeper;
}

// Empties and removes the folder `name` of the folder parentFd. Everything is reached
// relative to an open folder with O_NOFOLLOW, so a folder swapped for a link while the
// removal runs is not followed either. The depth was checked before the first removal.
void RemoveTree(int parentFd, const char* name) {
    DIR* folder = OpenFolder(parentFd, name);
    if (folder == nullptr) {
        return;
    }
    const int fd = ::dirfd(folder);
    for (const auto& entry : EntriesOf(folder)) {
        struct stat st {};
        if (::fstatat(fd, entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            RemoveTree(fd, entry.c_str());
        } else if (!IsReadOnlyFile(st)) {
            ::unlinkat(fd, entry.c_str(), 0); // files and links alike; a link's target stays
        }
    }
    ::closedir(folder);
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

// "link/", "link/." and "link/sub/.." all name the link itself, never what it points to:
// the path is made lexical before it is looked at, so no trailing part lets the link test
// follow the link.
std::string PlainPath(const std::string& path) {
    std::string plain = std::filesystem::path(path).lexically_normal().string();
    while (plain.size() > 1 && plain.back() == '/') {
        plain.pop_back();
    }
    return plain;
}

} // namespace

void DeleteDirectory(const std::wstring& Name) {
    if (Name.empty()) {
        return;
    }
    const auto path = PlainPath(text::WideToUtf8(Name));
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return;
    }
    if (S_ISLNK(st.st_mode)) {
        struct stat target {};
        if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) {
            ::unlink(path.c_str());
        }
        return;
    }
    // A tree too deep to walk stays whole rather than half removed.
    if (S_ISDIR(st.st_mode) && !DeeperThan(AT_FDCWD, path.c_str(), kMaxDepth)) {
        RemoveTree(AT_FDCWD, path.c_str());
    }
}

} // namespace ludrin::process
