#pragma once
// A file given to the tool, mapped read-only: only the pages a command reads become
// memory, so listing a large installer costs its headers, not its size.

#include <cstdint>
#include <filesystem>
#include <span>

namespace ludrin::pack {

class MappedFile {
public:
    // Throws std::runtime_error naming the path when it is no regular file or cannot be
    // mapped. An empty file maps to an empty span.
    explicit MappedFile(const std::filesystem::path& path);
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::span<const std::uint8_t> Bytes() const { return {data_, size_}; }
    // Says that a stretch already read is not needed again soon, so that reading a whole
    // file front to back keeps memory at a stretch, not the file. The bytes stay readable.
    void Done(std::span<const std::uint8_t> stretch) const;

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::intptr_t mapping_ = 0; // the Windows mapping object; unused on POSIX
};

} // namespace ludrin::pack
