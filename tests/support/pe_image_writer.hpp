#pragma once
// A minimal 64-bit Windows executable image whose only section holds a resource tree
// with one named RCDATA resource: enough for readers of embedded resources.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ludrin::testing {

std::vector<std::uint8_t> PeImageWithRcData(std::u16string_view name,
                                            std::span<const std::uint8_t> data);

// The same image around any resource tree: the tree's byte at offset n has the address
// kResourceSectionRva + n.
inline constexpr std::uint32_t kResourceSectionRva = 0x1000;
std::vector<std::uint8_t> PeImageWithResourceTree(std::span<const std::uint8_t> tree);

} // namespace ludrin::testing
