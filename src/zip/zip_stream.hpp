#pragma once
// What the reader reads an archive from: a size and reads at positions. The archive file
// is one; bytes in memory (tests, the fuzz target) are another. A read that cannot be
// satisfied raises the file layer's read error, whatever the source.

#include "platform/fs/archive_file.hpp"

#include <cstdint>
#include <span>

namespace ludrin::zip {

class ZipStream {
public:
    virtual ~ZipStream() = default;
    virtual std::uint64_t Size() const = 0;
    // Fills `out` from `offset` on, or raises fs::FileReadError.
    virtual void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

class FileZipStream final : public ZipStream {
public:
    explicit FileZipStream(fs::ArchiveFile file) : file_(std::move(file)) {}
    std::uint64_t Size() const override { return file_.Size(); }
    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        file_.ReadAt(offset, out);
    }

private:
    fs::ArchiveFile file_;
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
