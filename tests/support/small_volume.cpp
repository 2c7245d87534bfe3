#include "support/small_volume.hpp"

#include <sys/mount.h>

#include <string>

namespace ludrin::testing {

SmallVolume::SmallVolume(const std::filesystem::path& where, std::size_t kibibytes) : path_(where) {
    std::filesystem::create_directories(path_);
    const std::string options = "size=" + std::to_string(kibibytes) + "k,mode=0755";
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

SmallVolume::~SmallVolume() {
    if (mounted_) {
        ::umount2(path_.c_str(), MNT_DETACH);
    }
}

} // namespace ludrin::testing
