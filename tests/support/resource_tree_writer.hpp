#pragma once
// A resource tree shaped to punish a reader that walks a directory more than once: many
// RCDATA type entries all lead to one directory of decoy names, and one last entry leads
// to the real resource. Wrap it with PeImageWithResourceTree.

#include "support/pe_image_writer.hpp"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ludrin::testing {

// `repeats` type entries lead to one directory of `decoys` entries named `decoyName`;
// when `wanted` is not empty, a last type entry leads to it, holding `data`.
inline std::vector<std::uint8_t> RepeatedRcDataTree(std::uint16_t repeats, std::uint16_t decoys,
                                                    std::u16string_view decoyName,
                                                    std::u16string_view wanted,
                                                    std::span<const std::uint8_t> data) {
    constexpr std::uint32_t kSub = 0x80000000u;
    const std::uint32_t typeCount = repeats + (wanted.empty() ? 0u : 1u);
    const std::uint32_t decoyDir = 16 + 8 * typeCount;
    const std::uint32_t realDir = decoyDir + 16 + 8u * decoys;
    const std::uint32_t languageDir = realDir + 24;
    const std::uint32_t dataEntry = languageDir + 24;
    const std::uint32_t decoyString = dataEntry + 16;
    const std::uint32_t wantedString =
        decoyString + 2 + 2 * static_cast<std::uint32_t>(decoyName.size());
    const std::uint32_t dataAt =
        (wantedString + 2 + 2 * static_cast<std::uint32_t>(wanted.size()) + 3) & ~3u;
    std::vector<std::uint8_t> tree(dataAt + data.size());
    const auto put16 = [&tree](std::uint32_t at, std::uint32_t v) {
        tree[at] = static_cast<std::uint8_t>(v);
        tree[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    const auto put32 = [&put16](std::uint32_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    put16(14, typeCount);
    for (std::uint32_t i = 0; i < typeCount; ++i) {
        put32(16 + 8 * i, 10); // RT_RCDATA
        put32(20 + 8 * i, kSub | (i < repeats ? decoyDir : realDir));
    }
    put16(decoyDir + 12, decoys);
    for (std::uint32_t i = 0; i < decoys; ++i) {
        put32(decoyDir + 16 + 8 * i, kSub | decoyString);
        put32(decoyDir + 20 + 8 * i, kSub | languageDir);
    }
    put16(realDir + 12, 1);
    put32(realDir + 16, kSub | wantedString);
    put32(realDir + 20, kSub | languageDir);
    put16(languageDir + 14, 1);
    put32(languageDir + 16, 0x409);
    put32(languageDir + 20, dataEntry);
    put32(dataEntry, kResourceSectionRva + dataAt);
    put32(dataEntry + 4, static_cast<std::uint32_t>(data.size()));
    for (const auto& [at, name] : {std::pair{decoyString, decoyName}, {wantedString, wanted}}) {
        put16(at, static_cast<std::uint32_t>(name.size()));
        for (std::size_t i = 0; i < name.size(); ++i) {
            put16(at + 2 + 2 * static_cast<std::uint32_t>(i), name[i]);
        }
    }
    std::copy(data.begin(), data.end(), tree.begin() + dataAt);
    return tree;
}

} // namespace ludrin::testing
