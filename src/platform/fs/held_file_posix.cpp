#include "platform/fs/held_file.hpp"
#include "platform/text/utf.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ludrin::fs {

std::intptr_t HeldFile::OpenShared(const std::wstring& path) {
    const int fd = ::open(text::WideToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    return fd < 0 ? kClosed : fd;
}

std::int64_t HeldFile::ReadNext(std::intptr_t handle, std::span<std::uint8_t> into) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle), into.data(), into.size());
        if (got >= 0 || errno != EINTR) {
            return got < 0 ? -1 : got;
        }
    }
}

void HeldFile::CloseHandle(std::intptr_t handle) {
    ::close(static_cast<int>(handle));
}

} // namespace ludrin::fs
