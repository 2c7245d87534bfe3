#include "platform/fs/fs.hpp"

#include "platform/text/utf.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <string_view>

namespace ludrin::fs {
namespace {

std::string Native(const std::wstring& path) {
    return text::WideToUtf8(path);
}

bool StatFollowing(const std::wstring& path, struct stat& st) {
    return !path.empty() && ::stat(Native(path).c_str(), &st) == 0;
}

// Closes on every path out, so no early return leaks a descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// read() and write() may move fewer bytes than asked; the whole span is one transfer all
// the same. Answers false on an error or an early end.
template <typename Transfer, typename Byte>
bool TransferAll(Transfer transfer, int fd, std::span<Byte> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = transfer(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
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
    const auto native = Native(path);
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
    return !path.empty() && ::mkdir(Native(path).c_str(), 0777) == 0;
}

bool RemoveFolder(const std::wstring& path) {
    return !path.empty() && ::rmdir(Native(path).c_str()) == 0;
}

bool IsFolderEmpty(const std::wstring& path) {
    DIR* dir = path.empty() ? nullptr : ::opendir(Native(path).c_str());
    if (dir == nullptr) {
        return false;
    }
    bool empty = true;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            empty = false;
            break;
        }
    }
    ::closedir(dir);
    return empty;
}

std::vector<std::wstring> FolderEntries(const std::wstring& path) {
    std::vector<std::wstring> names;
    DIR* dir = path.empty() ? nullptr : ::opendir(Native(path).c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(text::Utf8ToWide(std::string(name)));
        }
    }
    ::closedir(dir);
    return names;
}

std::optional<std::int64_t> FileSize(const std::wstring& path) {
    Descriptor file(path.empty() ? -1 : ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(info.st_size);
}

bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> data) {
    if (path.empty()) {
        return false;
    }
    Descriptor file(::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.Get() < 0) {
        return false;
    }
    if (!TransferAll(::write, file.Get(), data) || !file.Close()) {
        // A file cut short (a full disk, say) is no file of ours: it goes again.
        ::unlink(Native(path).c_str());
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path) {
    Descriptor file(path.empty() ? -1 : ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> data(static_cast<std::size_t>(info.st_size));
    if (!TransferAll(::read, file.Get(), std::span<std::uint8_t>(data))) {
        return std::nullopt;
    }
    return data;
}

} // namespace ludrin::fs
