#include "platform/fs/archive_file.hpp"
#include "platform/text/utf.hpp"

#include <windows.h>

#include <algorithm>
#include <array>

namespace ludrin::fs {
namespace {

DWORD AccessOf(std::uint16_t mode) {
    switch (mode & 0x3) {
    case kOpenWrite:
        return GENERIC_WRITE;
    case kOpenReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

// Sharing bits 4 to 6: compatibility and exclusive share nothing.
DWORD ShareOf(std::uint16_t mode) {
    constexpr std::array<DWORD, 5> kShare{0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE};
    const unsigned index = (mode & 0xF0u) >> 4;
    return index < kShare.size() ? kShare[index] : 0;
}

HANDLE AsHandle(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

} // namespace

ArchiveFile ArchiveFile::Open(const std::wstring& path, std::uint16_t mode, const OpenFolder*) {
    const HANDLE file = CreateFileW(path.c_str(), AccessOf(mode), ShareOf(mode), nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        throw FileOpenError("Cannot open file \"" + text::WideToUtf8(path) + "\". System error " +
                            std::to_string(error));
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) == FALSE) {
        CloseHandle(file);
        throw FileOpenError("Cannot open file \"" + text::WideToUtf8(path) + "\". No size");
    }
    return ArchiveFile(reinterpret_cast<std::intptr_t>(file),
                       static_cast<std::uint64_t>(size.QuadPart));
}

ArchiveFile::ArchiveFile(ArchiveFile&& other) noexcept
    : handle_(other.handle_), size_(other.size_) {
    other.handle_ = 0;
}

ArchiveFile& ArchiveFile::operator=(ArchiveFile&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        size_ = other.size_;
        other.handle_ = 0;
    }
    return *this;
}

ArchiveFile::~ArchiveFile() {
    Close();
}

void ArchiveFile::Close() noexcept {
    if (handle_ != 0) {
        CloseHandle(AsHandle(handle_));
        handle_ = 0;
    }
}

void ArchiveFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    std::size_t done = 0;
    while (done < out.size()) {
        OVERLAPPED at{};
        const std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, 1u << 30));
        DWORD got = 0;
        if (ReadFile(AsHandle(handle_), out.data() + done, want, &got, &at) == FALSE || got == 0) {
            throw FileReadError("Stream read error");
        }
        done += got;
    }
}

} // namespace ludrin::fs
