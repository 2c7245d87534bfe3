#pragma once
// What the POSIX backend reports as a file's Windows attributes, from its mode alone.

#include <sys/types.h>

#include <cstdint>

namespace ludrin::fs {

// A folder is the directory attribute; a file carries the archive bit, and the read-only bit
// when no one may write it.
std::uint32_t AttributesOfMode(mode_t mode);

} // namespace ludrin::fs
