#pragma once
// A minimal 64-bit Windows executable image whose only section holds a resource tree:
// enough for readers of embedded resources.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ludrin::testing {

// One resource: its type, its name (a text, or the number `id` when the text is empty), its
// language and its bytes.
struct ResourceSpec {
    std::uint16_t type;
    std::u16string name;
    std::uint16_t id;
    std::uint16_t language;
    std::vector<std::uint8_t> data;
};
inline constexpr std::uint16_t kRtRcData = 10;
inline constexpr std::uint16_t kRtVersion = 16;

// The resources in a tree as resource compilers lay it out: types, names and languages in
// the order first given, named entries before numbered ones in each directory.
std::vector<std::uint8_t> PeImageWithResources(std::span<const ResourceSpec> resources);

// One RCDATA resource of this name in language 0x409.
std::vector<std::uint8_t> PeImageWithRcData(std::u16string_view name,
                                            std::span<const std::uint8_t> data);

// The same image around any resource tree: the tree's byte at offset n has the address
// kResourceSectionRva + n.
inline constexpr std::uint32_t kResourceSectionRva = 0x1000;
std::vector<std::uint8_t> PeImageWithResourceTree(std::span<const std::uint8_t> tree);

} // namespace ludrin::testing
