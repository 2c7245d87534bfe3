#include "platform/fs/output_file.hpp"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace ludrin::fs {
namespace {

HANDLE Native(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

std::optional<OutputFile> OutputFile::Create(const std::wstring& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    return OutputFile(reinterpret_cast<std::intptr_t>(file));
}

std::size_t OutputFile::Write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (IsOpen() && done < bytes.size()) {
        const DWORD ask = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size() - done, std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!WriteFile(Native(handle_), bytes.data() + done, ask, &written, nullptr) ||
            written == 0) {
            break;
        }
        done += written;
    }
    return done;
}

bool OutputFile::SetLastWriteDosDateTime(std::uint16_t date, std::uint16_t time) {
    FILETIME local{};
    FILETIME utc{};
    return IsOpen() && DosDateTimeToFileTime(date, time, &local) &&
           LocalFileTimeToFileTime(&local, &utc) &&
           SetFileTime(Native(handle_), nullptr, nullptr, &utc);
}

bool OutputFile::Flush() {
    return IsOpen() && FlushFileBuffers(Native(handle_));
}

bool OutputFile::Close() {
    if (!IsOpen()) {
        return false;
    }
    return CloseHandle(Native(std::exchange(handle_, kClosed))) != FALSE;
}

} // namespace ludrin::fs
