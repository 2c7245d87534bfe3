// POSIX backend of the store's file services: UTF-8 paths, the XDG folders for the
// user's shell folders, and no Windows or system folder at all.

#include "platform/sysinfo/special_folders.hpp"
#include "platform/sysinfo/system_info.hpp"
#include "platform/text/utf.hpp"
#include "store/store_files.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace ludrin::store {
namespace {

std::string Native(const std::wstring& path) {
    return text::WideToUtf8(path);
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

} // namespace

bool IsPathDelimiter(wchar_t c) {
    return c == L'/';
}

bool IsDirectoryExists(const std::wstring& path) {
    struct stat info {};
    return !path.empty() && ::stat(Native(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void MakeFolder(const std::wstring& path) {
    ::mkdir(Native(path).c_str(), 0777);
}

bool FileExists(const std::wstring& path) {
    struct stat info {};
    return !path.empty() && ::stat(Native(path).c_str(), &info) == 0;
}

std::int64_t ExtractFileSize(const std::wstring& path) {
    Descriptor file(::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0) {
        return -1;
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
    // write() may take less than asked; the file is one logical write all the same.
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(file.Get(), data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return file.Close();
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path) {
    Descriptor file(::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> data(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::read(file.Get(), data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return std::nullopt;
        }
        done += static_cast<std::size_t>(n);
    }
    return data;
}

bool DeleteFileAt(const std::wstring& path) {
    return ::unlink(Native(path).c_str()) == 0;
}

bool RemoveFolder(const std::wstring& path) {
    return ::rmdir(Native(path).c_str()) == 0;
}

bool IsDirectoryEmpty(const std::wstring& path) {
    DIR* dir = ::opendir(Native(path).c_str());
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

std::wstring GetWindowsDir() {
    return {};
}

std::wstring GetSystemDir() {
    return {};
}

std::wstring GetTempDir() {
    return sysinfo::SITempPath();
}

std::wstring ExecutableDir() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    return text::Utf8ToWide(path.parent_path().string() + "/");
}

std::wstring ShellFolder(std::wstring_view valueName) {
    using enum sysinfo::TSystemFolder;
    if (valueName == L"Desktop") {
        return sysinfo::SIGetSpecialFolderPath(sfDesktopDirectory);
    }
    if (valueName == L"Personal") {
        return sysinfo::SIGetSpecialFolderPath(sfPersonal);
    }
    if (valueName == L"My Pictures") {
        return sysinfo::SIGetSpecialFolderPath(sfMyPictures);
    }
    if (valueName == L"AppData") {
        return sysinfo::SIGetSpecialFolderPath(sfAppData);
    }
    return {};
}

void ShowErrorMessage(const std::wstring& text) {
    std::fprintf(stderr, "%s\n", text::WideToUtf8(text).c_str());
}

} // namespace ludrin::store
