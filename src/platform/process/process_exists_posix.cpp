// Processes from /proc. The executable's name comes from the exe link, which is the file
// actually run; the kernel's "comm" name is cut to 15 characters and would miss longer
// names. When the link cannot be read (another user's process), argv[0] stands in.

#include "platform/process/process_exists.hpp"

#include "platform/text/utf.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <string>

namespace ludrin::process {
namespace {

bool IsProcessFolder(const char* name) {
    if (*name == '\0') {
        return false;
    }
    for (; *name != '\0'; ++name) {
        if (!std::isdigit(static_cast<unsigned char>(*name))) {
            return false;
        }
    }
    return true;
}

std::string ExeLink(int procFd, const std::string& pid) {
    char target[4096];
    const auto length = ::readlinkat(procFd, (pid + "/exe").c_str(), target, sizeof target);
    if (length <= 0) {
        return {};
    }
    std::string path(target, static_cast<std::size_t>(length));
    // A program whose file was replaced or removed while it runs still runs under that name.
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) {
        path.resize(path.size() - kDeleted.size());
    }
    return path;
}

std::string FirstArgument(int procFd, const std::string& pid) {
    const int fd = ::openat(procFd, (pid + "/cmdline").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    char buffer[4096];
    const auto length = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    if (length <= 0) {
        return {};
    }
    const std::string_view content(buffer, static_cast<std::size_t>(length));
    return std::string(content.substr(0, content.find('\0')));
}

} // namespace

bool processExists(std::wstring exeFileName) {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        return false;
    }
    const int procFd = ::dirfd(proc);
    bool found = false;
    while (const dirent* entry = ::readdir(proc)) {
        if (!IsProcessFolder(entry->d_name)) {
            continue;
        }
        const std::string pid(entry->d_name);
        auto executable = ExeLink(procFd, pid);
        if (executable.empty()) {
            executable = FirstArgument(procFd, pid);
        }
        if (!executable.empty()) {
            found = ExecutableNameMatches(text::Utf8ToWide(executable), exeFileName, L"/") || found;
        }
    }
    ::closedir(proc);
    return found;
}

} // namespace ludrin::process
