#include "store/block_packer.hpp"
#include "store/store_error.hpp"
#include "support/payload_generator.hpp"
#include "unit/store/store_test_util.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace ludrin::store {
namespace {

using namespace test;
using ::testing::HasSubstr;

// All 256 values once, in order: forces position-table mode.
Bytes AllValues() {
    Bytes out(256);
    std::iota(out.begin(), out.end(), 0);
    return out;
}

struct PackCase {
    const char* name;
    Bytes input;
    Bytes packed;
};

class PackExactly : public ::testing::TestWithParam<PackCase> {};

TEST_P(PackExactly, ProducesTheseBytesAndUnpacksBack) {
    const auto& c = GetParam();
    EXPECT_EQ(Pack(c.input), c.packed);
    EXPECT_EQ(Unpack(c.packed), c.input);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, PackExactly,
    ::testing::Values(
        PackCase{"abc", Text("abc"), Hex({3, 0, 0, 0, 5, 0, 0, 0, 0x61, 0x62, 0x63})},
        PackCase{"six_a", Text("aaaaaa"), Hex({6, 0, 0, 0, 5, 0, 0, 0, 0, 0x61, 5})},
        PackCase{"three_hundred_a", Bytes(300, 'a'),
                 Hex({0x2C, 1, 0, 0, 7, 0, 0, 0, 0, 0x61, 0, 0x2B, 1})},
        PackCase{"all_values_then_five_A", Cat({AllValues(), Bytes(5, 'A')}),
                 Cat({Hex({5, 1, 0, 0, 6, 1, 4, 1}), AllValues(), Hex({0x41, 4, 3, 1})})},
        PackCase{"empty", {}, Hex({0, 0, 0, 0})},
        PackCase{"one_byte", Hex({0x41}), Hex({1, 0, 0, 0, 3, 0, 0, 0, 0x41})},
        PackCase{"one_zero_byte", Hex({0}), Hex({1, 0, 0, 0, 3, 0, 1, 0, 0})},
        // Escape mode: three equal bytes stay literals, four make a run record.
        PackCase{"escape_three", Text("bbb"), Hex({3, 0, 0, 0, 5, 0, 0, 0, 'b', 'b', 'b'})},
        PackCase{"escape_four", Text("bbbb"), Hex({4, 0, 0, 0, 5, 0, 0, 0, 0, 'b', 3})},
        PackCase{"run_256_short", Bytes(256, 'z'), Hex({0, 1, 0, 0, 5, 0, 0, 0, 0, 'z', 255})},
        PackCase{"run_257_long", Bytes(257, 'z'), Hex({1, 1, 0, 0, 7, 0, 0, 0, 0, 'z', 0, 0, 1})},
        // Position-table mode: four equal bytes stay literals.
        PackCase{"table_four", Cat({AllValues(), Bytes(4, 'A')}),
                 Cat({Hex({4, 1, 0, 0, 6, 1, 6, 1}), AllValues(), Bytes(4, 'A')})},
        // Lowest absent value is the escape: 0x07 and 0xC0 are missing, 0x07 marks.
        PackCase{"lowest_absent",
                 [] {
                     Bytes b;
                     for (int v = 0; v < 256; ++v) {
                         if (v != 0x07 && v != 0xC0) {
                             b.push_back(static_cast<std::uint8_t>(v));
                         }
                     }
                     return b;
                 }(),
                 [] {
                     Bytes b = Hex({254, 0, 0, 0, 0, 1, 7, 0});
                     for (int v = 0; v < 256; ++v) {
                         if (v != 0x07 && v != 0xC0) {
                             b.push_back(static_cast<std::uint8_t>(v));
                         }
                     }
                     return b;
                 }()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlockPacker, LongTableRunAndSeveralRunsListTheirPositionsLastFirst) {
    // Body: 256 literals, "A" 4 (run of 5), "B" 0 2C 01 (run of 301).
    const Bytes input = Cat({AllValues(), Bytes(5, 'A'), Bytes(301, 'B')});
    const Bytes packed = Pack(input);
    const Bytes expected =
        Cat({U32(static_cast<std::uint32_t>(input.size())), U16(2 + 256 + 6 + 4), U16(2 + 256 + 6),
             AllValues(), Hex({'A', 4, 'B', 0, 0x2C, 1}), U16(2 + 256 + 3), U16(2 + 256 + 1)});
    EXPECT_EQ(packed, expected);
    EXPECT_EQ(Unpack(packed), input);
}

TEST(BlockPacker, ChunksAre65533Bytes) {
    const auto blocksOf = [](std::size_t size) {
        const Bytes packed = Pack(testing::CompressedLike(size, size));
        return CountBlocks(std::span<const std::uint8_t>(packed).subspan(4)).Total();
    };
    EXPECT_EQ(blocksOf(65533), 1u);
    EXPECT_EQ(blocksOf(65534), 2u);
    // The second block holds a single byte: length 3, header, the byte.
    const Bytes input = testing::CompressedLike(65534, 7);
    const Bytes packed = Pack(input);
    ASSERT_GE(packed.size(), 5u);
    EXPECT_EQ(Bytes(packed.end() - 5, packed.end()),
              Cat({U16(3), U16(input.back() == 0 ? 1 : 0), Hex({input.back()})}));
}

TEST(BlockPacker, RunAcrossAChunkBoundaryIsCutInTwo) {
    Bytes input = testing::TextLike(65533 - 100, 3);
    input.insert(input.end(), 300, '~'); // 100 in the first chunk, 200 in the second
    const Bytes packed = Pack(input);
    const std::size_t first = packed[4] | (packed[5] << 8);
    const Bytes firstEnd(packed.begin() + 6 + static_cast<long>(first) - 3,
                         packed.begin() + 6 + static_cast<long>(first));
    EXPECT_EQ(firstEnd, Hex({0, '~', 99}));
    EXPECT_EQ(Bytes(packed.end() - 7, packed.end()), Cat({U16(5), U16(0), Hex({0, '~', 199})}));
    EXPECT_EQ(Unpack(packed), input);
}

TEST(BlockPacker, ChunkWithAllValuesAndNoRunsIsTwoBytesLonger) {
    Bytes input = testing::CompressedLike(65533, 11);
    for (std::size_t i = 1; i < input.size(); ++i) {
        if (input[i] == input[i - 1]) {
            input[i] = static_cast<std::uint8_t>(input[i] + 1);
        }
    }
    input[0] = input[1] == 0 ? 1 : 0; // keep every value present
    const Bytes packed = Pack(input);
    EXPECT_EQ(packed.size(), 4 + 2 + input.size() + 2);
    EXPECT_EQ(Unpack(packed), input);
}

TEST(BlockPacker, TargetSizeCoversEveryBlock) {
    EXPECT_EQ(SFCalcTargetSz(0), 263u);
    EXPECT_EQ(SFCalcTargetSz(254), 263u);
    EXPECT_EQ(SFCalcTargetSz(255), 263u);
    EXPECT_EQ(SFCalcTargetSz(65533), 65541u);
    EXPECT_EQ(SFCalcTargetSz(65534), 4u + 65534 + 8 + 254);
    EXPECT_EQ(SFCalcTargetSz(3 * 65533), 4u + 3 * 65533 + 12);
    Bytes tooSmall(SFCalcTargetSz(10) - 1);
    EXPECT_THROW(SFPack(Bytes(10, 1), tooSmall), std::invalid_argument);
}

// Round trips of content that stresses run detection; each input packs within the target
// size and comes back unchanged.
class RoundTrip : public ::testing::TestWithParam<std::pair<const char*, Bytes>> {};

TEST_P(RoundTrip, UnpacksToTheInput) {
    const Bytes& input = GetParam().second;
    const Bytes packed = Pack(input);
    EXPECT_LE(packed.size(), SFCalcTargetSz(input.size()));
    EXPECT_EQ(Unpack(packed), input);
    EXPECT_EQ(Pack(Unpack(packed)), packed);
}

Bytes RunsOfEveryLength(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    Bytes out;
    for (std::size_t length = 1; out.size() < 300000; length = length % 700 + 1) {
        out.insert(out.end(), length, static_cast<std::uint8_t>(random()));
    }
    return out;
}

Bytes WithAllValues(Bytes b) {
    const Bytes all = AllValues();
    b.insert(b.begin(), all.begin(), all.end());
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RoundTrip,
    ::testing::Values(
        std::pair{"random", testing::CompressedLike(200000, 1)},
        std::pair{"machine_code", testing::MachineCodeLike(300000, 2)},
        std::pair{"text", testing::TextLike(300000, 3)},
        std::pair{"runs_escape", RunsOfEveryLength(4)},
        std::pair{"runs_table", WithAllValues(RunsOfEveryLength(5))},
        std::pair{"one_long_run", Bytes(200000, 0)},
        std::pair{"run_ends_at_input_end", Cat({Text("ab"), Bytes(70000, 'c')})},
        std::pair{"exactly_one_chunk", testing::MachineCodeLike(65533, 6)},
        std::pair{"one_chunk_and_a_byte", testing::MachineCodeLike(65534, 7)},
        std::pair{"all_values_no_runs", AllValues()},
        std::pair{"all_values_runs", [] {
                      Bytes b;
                      for (int v = 0; v < 256; ++v) {
                          b.insert(b.end(), 5 + v, static_cast<std::uint8_t>(v));
                      }
                      return b;
                  }()},
        std::pair{"escape_byte_neighbours", [] {
                      // Value 0 absent; 1 everywhere beside runs of 2 and 3.
                      Bytes b;
                      for (int i = 0; i < 5000; ++i) {
                          b.insert(b.end(), 1 + i % 5, static_cast<std::uint8_t>(1 + i % 2));
                      }
                      return b;
                  }()}),
    [](const auto& info) { return std::string(info.param.first); });

// Malformed block sequences: each is an error, never a read or write outside the buffers.
struct BadCase {
    const char* name;
    Bytes blocks;
    std::size_t room;
    const char* message;
};

class UnpackRejects : public ::testing::TestWithParam<BadCase> {};

TEST_P(UnpackRejects, ItWithAClearError) {
    const auto& c = GetParam();
    // Exact-size heap copies, so that the sanitizer sees any access past either buffer.
    auto source = std::make_unique<std::uint8_t[]>(c.blocks.size());
    std::copy(c.blocks.begin(), c.blocks.end(), source.get());
    auto destination = std::make_unique<std::uint8_t[]>(c.room);
    try {
        SFUnpack({source.get(), c.blocks.size()}, {destination.get(), c.room});
        FAIL() << "accepted";
    } catch (const EStoreError& error) {
        EXPECT_THAT(error.what(), HasSubstr(c.message));
    }
}

Bytes TableBlock(const Bytes& body, const Bytes& table) {
    return Cat({U16(2 + body.size() + table.size()), U16(2 + body.size()), body, table});
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, UnpackRejects,
    ::testing::Values(
        BadCase{"length_cut_short", Hex({3}), 10, "length field is cut short"},
        BadCase{"block_past_end", Hex({9, 0, 0, 0, 'a'}), 10, "runs past the end"},
        BadCase{"no_header", Hex({1, 0, 0}), 10, "has no header"},
        BadCase{"escape_run_cut", Hex({4, 0, 0, 0, 0, 'a'}), 10, "cut short"},
        BadCase{"escape_long_run_cut", Hex({6, 0, 0, 0, 0, 'a', 0, 1}), 1000, "cut short"},
        BadCase{"escape_output_overflow", Hex({5, 0, 0, 0, 0, 'a', 9}), 9, "more bytes"},
        BadCase{"literal_output_overflow", Hex({5, 0, 0, 0, 'a', 'b', 'c'}), 2, "more bytes"},
        BadCase{"second_block_overflow", Hex({3, 0, 0, 0, 'a', 3, 0, 0, 0, 'b'}), 1, "block 1"},
        BadCase{"table_beyond_block", Cat({U16(4), U16(300), Hex({1, 2})}), 10, "beyond"},
        BadCase{"table_odd", TableBlock(Bytes(256, 1), Hex({9})), 1000, "odd length"},
        BadCase{"position_before_body", TableBlock(Bytes(256, 1), U16(2)), 1000, "run position 2"},
        BadCase{"position_in_table", TableBlock(Bytes(256, 1), U16(258)), 1000, "run position 258"},
        BadCase{"positions_out_of_order",
                TableBlock(Cat({Bytes(250, 1), Hex({'a', 4, 'b', 4}), Bytes(4, 2)}),
                           Cat({U16(253), U16(255)})),
                1000, "run position 253"},
        BadCase{"long_count_past_body", TableBlock(Cat({Bytes(255, 1), Hex({'a', 0})}), U16(258)),
                1000, "cut short"},
        BadCase{"table_output_overflow", TableBlock(Bytes(300, 1), {}), 299, "more bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlockPacker, EmptySequenceUnpacksToNothing) {
    Bytes none;
    EXPECT_EQ(SFUnpack({}, none), 0u);
}

TEST(BlockPacker, CountsBlocksByMode) {
    const Bytes packed =
        Pack(Cat({testing::TextLike(65533, 1), testing::CompressedLike(65533 * 2, 2)}));
    const auto counts = CountBlocks(std::span<const std::uint8_t>(packed).subspan(4));
    EXPECT_EQ(counts.escape, 1u);
    EXPECT_EQ(counts.positionTable, 2u);
}

} // namespace
} // namespace ludrin::store
