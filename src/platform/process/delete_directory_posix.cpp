#include "platform/process/delete_directory.hpp"

#include "platform/text/utf.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace ludrin::process {
namespace {

bool IsReadOnlyFile(const struct stat& st) {
    return S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Empties and removes the folder `name` of the folder parentFd. Everything is reached
// relative to an open folder with O_NOFOLLOW, so a folder swapped for a link while the
// removal runs is not followed either.
void RemoveTree(int parentFd, const char* name) {
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    DIR* folder = ::fdopendir(fd);
    if (folder == nullptr) {
        ::close(fd);
        return;
    }
    // The names are read first: removing entries while reading the folder may skip some.
    std::vector<std::string> entries;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view entryName(entry->d_name);
        if (entryName != "." && entryName != "..") {
            entries.emplace_back(entryName);
        }
    }
    for (const auto& entry : entries) {
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

} // namespace

void DeleteDirectory(const std::wstring& Name) {
    if (Name.empty()) {
        return;
    }
    const auto path = text::WideToUtf8(Name);
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
    if (S_ISDIR(st.st_mode)) {
        RemoveTree(AT_FDCWD, path.c_str());
    }
}

} // namespace ludrin::process
