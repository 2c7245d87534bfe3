#pragma once
// What the reader reads an archive from: a size and reads at positions. The archive file
// is one; bytes in memory (tests, the fuzz target) are another. A read that cannot be
// satisfied raises the file layer's read error, whatever the source.

#include "platform/fs/archive_file.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace ludrin::zip {

class ZipStream {
public:
    virtual ~ZipStream() = default;
    virtual std::uint64_t Size() const = 0;
    // Fills `out` from `offset` on, or raises fs::FileReadError.
    virtual void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

// Small reads (a header, a name, the data of a small entry) are served from one window of
// the file read ahead: an archive of many small entries is read in a few large pieces,
// not in two or three reads an entry. Large reads go straight to the file.
class FileZipStream final : public ZipStream {
public:
    explicit FileZipStream(fs::ArchiveFile file) : file_(std::move(file)) {}
    std::uint64_t Size() const override { return file_.Size(); }
    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;

private:
    static constexpr std::size_t kWindowSize = 64 * 1024;
    fs::ArchiveFile file_;
    mutable std::vector<std::uint8_t> window_; // the bytes from windowStart_ on
    mutable std::uint64_t windowStart_ = 0;
};

// Bytes held by the caller, which must outlive the stream.
class MemoryZipStream final : public ZipStream {
public:
    explicit MemoryZipStream(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override;

private:
    std::span<const std::uint8_t> bytes_;
};

} // namespace ludrin::zip
