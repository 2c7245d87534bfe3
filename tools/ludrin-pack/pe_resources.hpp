#pragma once
// Finds a named RCDATA resource in a Windows executable held in memory. Every offset and
// size of the headers and the resource tree is checked against the image.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ludrin::pack {

// True when the bytes start like an executable ("MZ").
bool LooksLikePeImage(std::span<const std::uint8_t> image);

// The bytes of the RCDATA resource with this name (first language), in place; nothing when
// the image has no such resource. A damaged image throws std::runtime_error.
std::optional<std::span<const std::uint8_t>> FindRcData(std::span<const std::uint8_t> image,
                                                        std::u16string_view name);

// The bytes of the version resource (the first one, first language), in place; nothing when
// the image has none. A damaged image throws std::runtime_error.
std::optional<std::span<const std::uint8_t>>
FindVersionResource(std::span<const std::uint8_t> image);

} // namespace ludrin::pack
