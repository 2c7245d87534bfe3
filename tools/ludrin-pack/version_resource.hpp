#pragma once
// The file version of an executable, from the fixed part of its version resource.

#include <cstdint>
#include <span>
#include <string>

namespace ludrin::pack {

// "major.minor.release.build" from a VS_VERSION_INFO block; a block that is cut short, has
// another key or no fixed part with its signature throws std::runtime_error.
std::string FixedFileVersion(std::span<const std::uint8_t> versionResource);

} // namespace ludrin::pack
