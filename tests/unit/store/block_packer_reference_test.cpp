// The packer's fast paths (word-wise and 16-byte run search, literals copied ahead, the
// escape byte found by probing) against a plain byte-by-byte packer written from the block
// format: the output must be the same, byte for byte, on inputs built to hit the edges of
// those paths.

#include "store/block_packer.hpp"
#include "support/payload_generator.hpp"
#include "unit/store/store_test_util.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <random>

namespace ludrin::store {
namespace {

using namespace test;

void Put16(Bytes& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::size_t RunAt(const Bytes& in, std::size_t from, std::size_t end) {
    std::size_t i = from;
    while (i < end && in[i] == in[from]) {
        ++i;
    }
    return i - from;
}

void PutCount(Bytes& out, std::size_t length) {
    if (length - 1 <= 255) {
        out.push_back(static_cast<std::uint8_t>(length - 1));
    } else {
        out.push_back(0);
        Put16(out, length - 1);
    }
}

Bytes ReferencePack(const Bytes& in) {
    Bytes out;
    Put16(out, in.size() & 0xFFFF);
    Put16(out, in.size() >> 16);
    for (std::size_t start = 0; start < in.size(); start += kChunkSize) {
        const std::size_t end = std::min(in.size(), start + kChunkSize);
        std::array<bool, 256> seen{};
        for (std::size_t i = start; i < end; ++i) {
            seen[in[i]] = true;
        }
        const auto absent = std::find(seen.begin(), seen.end(), false);
        Bytes block;
        std::vector<std::size_t> positions;
        Put16(block, 0); // header, set below
        const bool escape = absent != seen.end();
        const std::size_t minRun = escape ? 4 : 5;
        for (std::size_t i = start; i < end;) {
            const std::size_t length = RunAt(in, i, end);
            if (length < minRun) {
                block.push_back(in[i++]);
                continue;
            }
            if (escape) {
                block.push_back(static_cast<std::uint8_t>(absent - seen.begin()));
            }
            block.push_back(in[i]);
            positions.push_back(block.size());
            PutCount(block, length);
            i += length;
        }
        const std::size_t header =
            escape ? static_cast<std::size_t>(absent - seen.begin()) : block.size();
        block[0] = static_cast<std::uint8_t>(header);
        block[1] = static_cast<std::uint8_t>(header >> 8);
        if (!escape) {
            for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
                Put16(block, *it);
            }
        }
        Put16(out, block.size());
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

Bytes Pack(const Bytes& in) {
    Bytes out(SFCalcTargetSz(in.size()));
    out.resize(SFPack(in, out));
    return out;
}

// Text with runs of every length from 1 to 40 at every offset within the 32-byte steps of
// the run search, so that run starts fall on each lane and across step boundaries.
Bytes RunsAtEveryOffset() {
    Bytes out;
    for (std::size_t length = 1; length <= 40; ++length) {
        for (std::size_t offset = 0; offset < 35; ++offset) {
            out.insert(out.end(), offset, 'x');
            out.push_back('y'); // ends the filler's own run
            out.insert(out.end(), length, '-');
            out.push_back('z');
        }
    }
    return out;
}

// Text whose lowest absent value only shows up as present far beyond the first kilobytes:
// the values 0 to `late` - 1 occur once each near the chunk's end.
Bytes ValuesOnlyLate(std::size_t late) {
    Bytes out = testing::TextLike(kChunkSize - late - 10, 5);
    for (std::size_t value = 0; value < late; ++value) {
        out.push_back(static_cast<std::uint8_t>(value));
    }
    return out;
}

struct ReferenceCase {
    const char* name;
    Bytes input;
    friend void PrintTo(const ReferenceCase& c, std::ostream* os) { *os << c.name; }
};

class SameAsReference : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(SameAsReference, ByteForByte) {
    const Bytes& input = GetParam().input;
    const Bytes expected = ReferencePack(input);
    const Bytes packed = Pack(input);
    ASSERT_EQ(packed.size(), expected.size());
    const auto mismatch = std::mismatch(packed.begin(), packed.end(), expected.begin());
    EXPECT_EQ(mismatch.first, packed.end())
        << "first difference at offset " << (mismatch.first - packed.begin());
}

Bytes Random(std::size_t size, std::uint64_t seed, int values) {
    std::mt19937_64 random(seed);
    Bytes out(size);
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(random() % static_cast<std::uint64_t>(values));
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, SameAsReference,
    ::testing::Values(
        ReferenceCase{"text", testing::TextLike(3 * kChunkSize + 777, 11)},
        ReferenceCase{"runs_at_every_offset", RunsAtEveryOffset()},
        ReferenceCase{"escape_byte_present_only_late", ValuesOnlyLate(3)},
        ReferenceCase{"many_values_present_only_late", ValuesOnlyLate(40)},
        // The lowest value missing from the first kilobyte occurs only inside a run, or only
        // in the last few bytes of the chunk.
        ReferenceCase{"escape_byte_only_in_a_late_run",
                      Cat({testing::TextLike(5000, 9), Bytes(6, 0), testing::TextLike(5000, 10)})},
        ReferenceCase{"escape_byte_only_at_the_end", Cat({testing::TextLike(5000, 12), Bytes{0}})},
        ReferenceCase{"all_values_only_late", Cat({ValuesOnlyLate(0), Random(300, 1, 256)})},
        ReferenceCase{"few_values_many_runs", Random(2 * kChunkSize, 2, 3)},
        ReferenceCase{"long_runs", Cat({Bytes(70000, 'a'), Bytes(300, 'b'), Text("abc")})},
        ReferenceCase{"run_at_chunk_end",
                      Cat({testing::TextLike(kChunkSize - 7, 4), Bytes(7, ' ')})},
        ReferenceCase{"machine_code", testing::MachineCodeLike(3 * kChunkSize, 6)},
        ReferenceCase{"compressed", testing::CompressedLike(2 * kChunkSize + 5, 7)},
        ReferenceCase{"short_tail", testing::TextLike(kChunkSize + 20, 8)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ludrin::store
