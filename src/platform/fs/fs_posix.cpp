#include "platform/fs/fs.hpp"

#include "platform/text/utf.hpp"

#include <sys/stat.h>
#include <unistd.h>

namespace ludrin::fs {
namespace {

bool StatFollowing(const std::wstring& path, struct stat& st) {
    return !path.empty() && ::stat(text::WideToUtf8(path).c_str(), &st) == 0;
}

} // namespace

bool FileExists(const std::wstring& path) {
    struct stat st {};
    return StatFollowing(path, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::wstring& path) {
    struct stat st {};
    return StatFollowing(path, st) && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    const auto native = text::WideToUtf8(path);
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        return false;
    }
    // Unlinking ignores the file's own mode; the Windows read-only rule has to be kept here.
    if (S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return false;
    }
    return ::unlink(native.c_str()) == 0;
}

bool CreateFolder(const std::wstring& path) {
    return !path.empty() && ::mkdir(text::WideToUtf8(path).c_str(), 0777) == 0;
}

} // namespace ludrin::fs
