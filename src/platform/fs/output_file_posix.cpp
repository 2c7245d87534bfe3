#include "platform/fs/output_file.hpp"

#include "platform/fs/local_time_posix.hpp"
#include "platform/text/utf.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <utility>

namespace ludrin::fs {

std::optional<OutputFile> OutputFile::Create(const std::wstring& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    const int fd =
        ::open(text::WideToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return std::nullopt;
    }
    return OutputFile(fd);
}

std::size_t OutputFile::Write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (IsOpen() && done < bytes.size()) {
        const ssize_t n =
            ::write(static_cast<int>(handle_), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool OutputFile::SetLastWriteDosDateTime(std::uint16_t date, std::uint16_t time) {
    std::tm local{};
    local.tm_year = ((date >> 9) & 0x7F) + 80;
    local.tm_mon = ((date >> 5) & 0x0F) - 1;
    local.tm_mday = date & 0x1F;
    local.tm_hour = (time >> 11) & 0x1F;
    local.tm_min = (time >> 5) & 0x3F;
    local.tm_sec = (time & 0x1F) * 2;
    const auto seconds = LocalTimeToSeconds(local);
    if (!IsOpen() || !seconds) {
        return false;
    }
    const struct timespec times[2] = {{0, UTIME_OMIT}, {*seconds, 0}};
    return ::futimens(static_cast<int>(handle_), times) == 0;
}

bool OutputFile::Flush() {
    return IsOpen() && ::fsync(static_cast<int>(handle_)) == 0;
}

bool OutputFile::Close() {
    if (!IsOpen()) {
        return false;
    }
    return ::close(static_cast<int>(std::exchange(handle_, kClosed))) == 0;
}

} // namespace ludrin::fs
