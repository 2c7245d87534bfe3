#include "support/pe_image_writer.hpp"

namespace ludrin::testing {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kSectionRva = kResourceSectionRva;
constexpr std::size_t kSectionFileOffset = 0x200;

} // namespace

std::vector<std::uint8_t> PeImageWithRcData(std::u16string_view name,
                                            std::span<const std::uint8_t> data) {
    // Resource tree: type directory, name directory, language directory, data entry,
    // the name string, then the data.
    constexpr std::size_t kNameDir = 0x18, kLanguageDir = 0x30, kDataEntry = 0x48,
                          kNameString = 0x58;
    const std::size_t dataAt = (kNameString + 2 + 2 * name.size() + 15) & ~std::size_t{15};
    std::vector<std::uint8_t> tree(dataAt + data.size());
    Put16(tree, 14, 1);
    Put32(tree, 16, 10); // RT_RCDATA
    Put32(tree, 20, kSubdirectory | kNameDir);
    Put16(tree, kNameDir + 12, 1);
    Put32(tree, kNameDir + 16, kSubdirectory | kNameString);
    Put32(tree, kNameDir + 20, kSubdirectory | kLanguageDir);
    Put16(tree, kLanguageDir + 14, 1);
    Put32(tree, kLanguageDir + 16, 0x409);
    Put32(tree, kLanguageDir + 20, kDataEntry);
    Put32(tree, kDataEntry, kSectionRva + static_cast<std::uint32_t>(dataAt));
    Put32(tree, kDataEntry + 4, static_cast<std::uint32_t>(data.size()));
    Put16(tree, kNameString, static_cast<std::uint32_t>(name.size()));
    for (std::size_t i = 0; i < name.size(); ++i) {
        Put16(tree, kNameString + 2 + 2 * i, name[i]);
    }
    std::copy(data.begin(), data.end(), tree.begin() + static_cast<long>(dataAt));
    return PeImageWithResourceTree(tree);
}

std::vector<std::uint8_t> PeImageWithResourceTree(std::span<const std::uint8_t> tree) {
    // Sized once for headers and tree (GCC 12 at -O3 warns falsely about a later insert).
    std::vector<std::uint8_t> image(kSectionFileOffset + tree.size());
    image[0] = 'M';
    image[1] = 'Z';
    Put32(image, 0x3C, 0x40);
    Put32(image, 0x40, 0x00004550); // "PE\0\0"
    constexpr std::size_t coff = 0x44, optional = coff + 20, optionalSize = 240;
    Put16(image, coff, 0x8664);
    Put16(image, coff + 2, 1);
    Put16(image, coff + 16, optionalSize);
    Put16(image, coff + 18, 0x22);
    Put16(image, optional, 0x20B);
    Put32(image, optional + 108, 16);
    Put32(image, optional + 112 + 2 * 8, kSectionRva);
    Put32(image, optional + 112 + 2 * 8 + 4, static_cast<std::uint32_t>(tree.size()));
    constexpr std::size_t section = optional + optionalSize;
    const char rsrc[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    std::copy(rsrc, rsrc + 8, image.begin() + section);
    Put32(image, section + 8, static_cast<std::uint32_t>(tree.size()));
    Put32(image, section + 12, kSectionRva);
    Put32(image, section + 16, static_cast<std::uint32_t>(tree.size()));
    Put32(image, section + 20, kSectionFileOffset);
    std::copy(tree.begin(), tree.end(), image.begin() + kSectionFileOffset);
    return image;
}

} // namespace ludrin::testing
