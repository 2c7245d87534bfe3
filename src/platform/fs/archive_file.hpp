#pragma once
// The archive reader's file: opened once with the caller's access and sharing, then read
// at positions. Errors here are the file layer's own, not archive errors.

#include "platform/fs/open_folder.hpp"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace ludrin::fs {

// The file cannot be opened with the asked mode (missing, locked, no access).
class FileOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A read that failed or that the file could not satisfy in full.
class FileReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Open modes in the platform's encoding: access in the low bits, sharing in bits 4 to 6.
inline constexpr std::uint16_t kOpenRead = 0x0000;
inline constexpr std::uint16_t kOpenWrite = 0x0001;
inline constexpr std::uint16_t kOpenReadWrite = 0x0002;
inline constexpr std::uint16_t kShareExclusive = 0x0010;
inline constexpr std::uint16_t kShareDenyWrite = 0x0020;
inline constexpr std::uint16_t kShareDenyRead = 0x0030;
inline constexpr std::uint16_t kShareDenyNone = 0x0040;

class ArchiveFile {
public:
    // Opens an existing file. Windows honours access and sharing; POSIX has no mandatory
    // sharing, so the file is simply opened for reading there. `folder`, when it holds
    // `path`, names the file from there.
    static ArchiveFile Open(const std::wstring& path, std::uint16_t mode,
                            const OpenFolder* folder = nullptr);

    ArchiveFile(ArchiveFile&& other) noexcept;
    ArchiveFile& operator=(ArchiveFile&& other) noexcept;
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;
    ~ArchiveFile();

    // The size when the file was opened.
    std::uint64_t Size() const { return size_; }

    // Fills `out` from `offset` on, or raises FileReadError.
    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const;

private:
    ArchiveFile(std::intptr_t handle, std::uint64_t size) : handle_(handle), size_(size) {}
    void Close() noexcept;

    std::intptr_t handle_;
    std::uint64_t size_;
};

} // namespace ludrin::fs
