#pragma once
// A file system of a few KiB of its own, for writes that fail because the disk is full:
// a tmpfs mounted on a fresh folder (which needs root, as the test machines run). Where
// mounting is not allowed, Mounted() is false and a test falls back to a file size limit.

#include <cstddef>
#include <filesystem>

namespace ludrin::testing {

class SmallVolume {
public:
    SmallVolume(const std::filesystem::path& where, std::size_t kibibytes);
    ~SmallVolume();
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool Mounted() const { return mounted_; }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    bool mounted_ = false;
};

} // namespace ludrin::testing
