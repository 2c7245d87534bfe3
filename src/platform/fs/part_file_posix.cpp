#include "platform/fs/attributes_posix.hpp"
#include "platform/fs/fs.hpp"
#include "platform/fs/open_folder_posix.hpp"
#include "platform/fs/part_file.hpp"
#include "platform/fs/path_separator.hpp"

#include "platform/text/utf.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace ludrin::fs {

std::optional<PartFile> PartFile::Create(const std::wstring& path, const OpenFolder* folder) {
    if (path.empty() || NamePart(path).empty()) {
        return std::nullopt;
    }
    std::wstring part = PartFileName(path);
    const NativeName named = NameFrom(folder, part);
    // Not truncated before it is ours: a part file that another writer holds stays its own.
    OutputFile output(::openat(named.at, named.name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (!output.IsOpen()) {
        return std::nullopt;
    }
    const int fd = static_cast<int>(output.handle_);
    // The lock marks the writer; the name must still lead to the file locked, or another
    // writer has just moved that file into place and it is no part any more.
    struct stat held {};
    struct stat now {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 ||
        ::fstatat(named.at, named.name.c_str(), &now, 0) != 0 || held.st_ino != now.st_ino ||
        held.st_dev != now.st_dev || !S_ISREG(held.st_mode) ||
        (held.st_size != 0 && ::ftruncate(fd, 0) != 0)) {
        return std::nullopt;
    }
    // As GetAttributes tells them: a umask may have left no write bit.
    return PartFile(path, std::move(part), std::move(output), AttributesOfMode(held.st_mode),
                    folder);
}

bool Replaceable(const std::wstring& path) {
    // No one holds a name against a rename here; only a folder is in the way.
    struct stat info {};
    return ::stat(text::WideToUtf8(path).c_str(), &info) != 0 || !S_ISDIR(info.st_mode);
}

bool MoveIntoPlace(const std::wstring& part, const std::wstring& path, bool replacing,
                   const OpenFolder* folder) {
    if (part.empty() || path.empty()) {
        return false;
    }
    const NativeName from = NameFrom(folder, part);
    const NativeName to = NameFrom(folder, path);
    // Most files are new: a move that replaces nothing needs no look at the target first.
    if (!replacing) {
        if (::renameat2(from.at, from.name.c_str(), to.at, to.name.c_str(), RENAME_NOREPLACE) ==
            0) {
            return true;
        }
        if (errno != EEXIST && errno != EINVAL && errno != ENOSYS) {
            return false;
        }
    }
    // A read-only file stays, as GetAttributes would tell it, asked from the same folder.
    struct stat there {};
    if (::fstatat(to.at, to.name.c_str(), &there, 0) == 0 &&
        (AttributesOfMode(there.st_mode) & 0x1) != 0) {
        return false;
    }
    return ::renameat(from.at, from.name.c_str(), to.at, to.name.c_str()) == 0;
}

} // namespace ludrin::fs
