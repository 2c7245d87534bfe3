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

// The bytes of the RCDATA resource with this name, in place; nothing when the image has no
// such resource. A damaged image throws std::runtime_error, and so does a resource of this
// name in several languages or under several name entries (the message names each).
std::optional<std::span<const std::uint8_t>> FindRcData(std::span<const std::uint8_t> image,
                                                        std::u16string_view name);

// The bytes of the version resource, in place; nothing when the image has none. A damaged
// image throws std::runtime_error, and so do several version resources (several names or
// languages; the message names each).
std::optional<std::span<const std::uint8_t>>
FindVersionResource(std::span<const std::uint8_t> image);

} // namespace ludrin::pack
