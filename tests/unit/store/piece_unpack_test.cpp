// Unpacking piece by piece and measuring without output, held to the plain whole-buffer
// unpack of the same blocks.

#include "store/block_packer.hpp"
#include "store/store_error.hpp"
#include "support/payload_generator.hpp"
#include "unit/store/store_test_util.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ludrin::store {
namespace {

using namespace test;
using ::testing::HasSubstr;

std::span<const std::uint8_t> Blocks(const Bytes& packed) {
    return std::span<const std::uint8_t>(packed).subspan(4);
}

struct Piece {
    std::size_t block;
    std::size_t size;
};

struct Pieces {
    Bytes bytes;
    std::vector<Piece> pieces;
    std::uint64_t produced = 0;
};

Pieces UnpackInPieces(std::span<const std::uint8_t> blocks, std::uint64_t limit) {
    Pieces out;
    out.produced = SFUnpackPieces(blocks, limit, [&](std::size_t block, auto bytes) {
        out.bytes.insert(out.bytes.end(), bytes.begin(), bytes.end());
        out.pieces.push_back({block, bytes.size()});
    });
    return out;
}

struct PieceCase {
    const char* name;
    Bytes input;
};

class PieceUnpack : public ::testing::TestWithParam<PieceCase> {};

TEST_P(PieceUnpack, GivesTheSameBytesOneChunkPerBlock) {
    const Bytes& input = GetParam().input;
    const Bytes packed = Pack(input);
    const Pieces got = UnpackInPieces(Blocks(packed), input.size());
    EXPECT_EQ(got.produced, input.size());
    EXPECT_TRUE(got.bytes == input);
    EXPECT_EQ(SFMeasure(Blocks(packed), input.size()), input.size());
    // The packer's blocks each arrive whole, in order, one piece per block.
    for (std::size_t i = 0; i < got.pieces.size(); ++i) {
        EXPECT_EQ(got.pieces[i].block, i);
        EXPECT_EQ(got.pieces[i].size, std::min(kChunkSize, input.size() - i * kChunkSize));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, PieceUnpack,
    ::testing::Values(PieceCase{"empty", {}},
                      PieceCase{"text_escape_mode", testing::TextLike(3 * kChunkSize + 11, 1)},
                      PieceCase{"machine_code_table_mode",
                                testing::MachineCodeLike(2 * kChunkSize, 2)},
                      PieceCase{"compressed", testing::CompressedLike(kChunkSize + 1, 3)},
                      PieceCase{"one_long_run", Bytes(5 * kChunkSize, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

// A block of escape-mode runs of 65,536 bytes each: far more output than one chunk,
// which a hand-made block may hold.
Bytes LongRunBlock(std::size_t runs) {
    Bytes block = Hex({0x01, 0x00}); // escape byte 1
    for (std::size_t i = 0; i < runs; ++i) {
        block.insert(block.end(), {0x01, static_cast<std::uint8_t>('a' + i), 0x00, 0xFF, 0xFF});
    }
    return Cat({U16(block.size()), block});
}

TEST(PieceUnpack, ABlockOfMoreThanAChunkArrivesInChunkSizedPieces) {
    const Bytes blocks = LongRunBlock(3);
    const Pieces got = UnpackInPieces(blocks, 3 * 65536);
    ASSERT_EQ(got.produced, 3u * 65536);
    Bytes whole(3 * 65536);
    ASSERT_EQ(SFUnpack(blocks, whole), whole.size());
    EXPECT_TRUE(got.bytes == whole);
    for (const auto& piece : got.pieces) {
        EXPECT_EQ(piece.block, 0u);
        EXPECT_LE(piece.size, kChunkSize);
    }
}

TEST(PieceUnpack, OutputBeyondTheLimitStopsBeforeAnyOfItIsDelivered) {
    const Bytes blocks = Cat({Pack(Bytes(10, 'x')), LongRunBlock(2)});
    std::uint64_t delivered = 0;
    try {
        SFUnpackPieces(Blocks(blocks), 10 + 65536 + 100,
                       [&](std::size_t, auto bytes) { delivered += bytes.size(); });
        FAIL() << "accepted";
    } catch (const EStoreError& error) {
        EXPECT_THAT(error.what(), HasSubstr("packed block 1: unpacks to more bytes"));
    }
    EXPECT_LE(delivered, 10u + 65536 + 100);
    EXPECT_THROW(SFMeasure(Blocks(blocks), 10 + 65536 + 100), EStoreError);
}

TEST(PieceUnpack, DamageIsReportedAsTheWholeUnpackReportsIt) {
    // An escape-mode block ending in the escape byte: its run record is cut short.
    const Bytes blocks = Cat({U16(4), Hex({0x01, 0x00, 'a', 0x01})});
    Bytes whole(100);
    std::string expected;
    try {
        SFUnpack(blocks, whole);
    } catch (const EStoreError& error) {
        expected = error.what();
    }
    ASSERT_FALSE(expected.empty());
    for (const auto& run : {std::function<void()>([&] { SFMeasure(blocks, 100); }),
                            std::function<void()>([&] { UnpackInPieces(blocks, 100); })}) {
        try {
            run();
            ADD_FAILURE() << "accepted";
        } catch (const EStoreError& error) {
            EXPECT_EQ(error.what(), expected);
        }
    }
}

} // namespace
} // namespace ludrin::store
