// The folded CRC-32 held to zlib's table-driven crc32(), the plain reference, on every
// length around the fold sizes, at every alignment, from any running value and in pieces.

#include "hash/crc32.hpp"
#include "support/payload_generator.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string_view>
#include <vector>

namespace ludrin::hash {
namespace {

std::uint32_t Reference(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(crc32(crc, bytes.data(), static_cast<uInt>(bytes.size())));
}

TEST(Crc32, CheckValueOfTheStandard) {
    constexpr std::string_view kDigits = "123456789";
    const std::vector<std::uint8_t> digits(kDigits.begin(), kDigits.end());
    EXPECT_EQ(Crc32(0, digits), 0xCBF43926u);
    EXPECT_EQ(Crc32(0, {}), 0u);
}

TEST(Crc32, EveryLengthAndAlignmentMatchesZlib) {
    const auto data = testing::CompressedLike(16 + 700, 23);
    const std::span<const std::uint8_t> all(data);
    for (std::size_t offset = 0; offset < 16; ++offset) {
        for (std::size_t size = 0; size <= 700; ++size) {
            const auto bytes = all.subspan(offset, size);
            for (const std::uint32_t start : {0u, 0xFFFFFFFFu, 0x12345678u}) {
                ASSERT_EQ(Crc32(start, bytes), Reference(start, bytes))
                    << "offset " << offset << " size " << size << " start " << start;
            }
        }
    }
}

TEST(Crc32, PiecesOfAnySizeContinueTheSum) {
    for (const auto& data : {testing::CompressedLike(3 << 20, 5), testing::TextLike(1 << 20, 6),
                             std::vector<std::uint8_t>(1 << 20, 0)}) {
        const std::uint32_t whole = Reference(0, data);
        EXPECT_EQ(Crc32(0, data), whole);
        std::uint32_t running = 0;
        std::size_t at = 0;
        for (std::size_t piece = 1; at < data.size(); piece = piece * 3 + 7) {
            const std::size_t size = std::min(piece % 70000, data.size() - at);
            running = Crc32(running, std::span<const std::uint8_t>(data).subspan(at, size));
            at += size;
        }
        EXPECT_EQ(running, whole);
    }
}

} // namespace
} // namespace ludrin::hash
