#include "platform/fs/archive_file.hpp"
#include "platform/fs/open_folder_posix.hpp"
#include "platform/text/utf.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ludrin::fs {

ArchiveFile ArchiveFile::Open(const std::wstring& path, std::uint16_t /*mode*/,
                              const OpenFolder* folder) {
    const NativeName named = NameFrom(folder, path);
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come; a regular
    // file ignores the flag.
    const int fd = ::openat(named.at, named.name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        throw FileOpenError("Cannot open file \"" + text::WideToUtf8(path) + "\". " +
                            std::strerror(error));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileOpenError("Cannot open file \"" + text::WideToUtf8(path) +
                            "\". Not a regular file");
    }
    return ArchiveFile(fd, static_cast<std::uint64_t>(info.st_size));
}

ArchiveFile::ArchiveFile(ArchiveFile&& other) noexcept
    : handle_(other.handle_), size_(other.size_) {
    other.handle_ = -1;
}

ArchiveFile& ArchiveFile::operator=(ArchiveFile&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        size_ = other.size_;
        other.handle_ = -1;
    }
    return *this;
}

ArchiveFile::~ArchiveFile() {
    Close();
}

void ArchiveFile::Close() noexcept {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

void ArchiveFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = ::pread(static_cast<int>(handle_), out.data() + done, out.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            throw FileReadError("Stream read error");
        }
        done += static_cast<std::size_t>(got);
    }
}

} // namespace ludrin::fs
