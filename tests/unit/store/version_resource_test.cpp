// The file version out of a version resource's fixed part, and clear errors for blocks that
// are cut short or are not what they claim to be. Each case lies in an exact-size buffer.

#include "ludrin-pack/version_resource.hpp"
#include "unit/store/store_test_util.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace ludrin::pack {
namespace {

using namespace store::test;

// VS_VERSION_INFO with its fixed part for version 1.2.3.40000, and no children.
Bytes VersionBlock() {
    Bytes key;
    for (const char c : std::string("VS_VERSION_INFO")) {
        key = Cat({key, U16(static_cast<unsigned char>(c))});
    }
    const Bytes fixed = Cat({U32(0xFEEF04BD), U32(0x00010000), U32(0x00010002), U32(0x00039C40),
                             U32(0x00010002), U32(0x00039C40), Bytes(28, 0)});
    Bytes block = Cat({U16(0), U16(fixed.size()), U16(0), key, U16(0), U16(0), fixed});
    block[0] = static_cast<std::uint8_t>(block.size());
    return block;
}

std::string VersionOf(const Bytes& block) {
    const auto exact = std::make_unique<std::uint8_t[]>(block.size());
    std::copy(block.begin(), block.end(), exact.get());
    return FixedFileVersion({exact.get(), block.size()});
}

TEST(FixedFileVersion, ReadsTheFourParts) {
    EXPECT_EQ(VersionOf(VersionBlock()), "1.2.3.40000");
}

TEST(FixedFileVersion, DamagedBlocksAreClearErrors) {
    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
        const char* message;
    };
    const Case cases[] = {
        {"cut in the fixed part", [](Bytes& b) { b.resize(b.size() - 30); }, "does not fit"},
        {"cut and length fixed", [](Bytes& b) { b.resize(50), b[0] = 50; }, "lies outside"},
        {"other key", [](Bytes& b) { b[6] = 'X'; }, "not VS_VERSION_INFO"},
        {"no fixed part", [](Bytes& b) { b[2] = 0; }, "no fixed file information"},
        {"wrong signature", [](Bytes& b) { b[40] ^= 1; }, "has no signature"},
        {"key without end", [](Bytes& b) { b.resize(20), b[0] = 20; }, "block key"},
        {"empty", [](Bytes& b) { b.clear(); }, "block length"},
    };
    for (const auto& c : cases) {
        Bytes block = VersionBlock();
        c.damage(block);
        try {
            VersionOf(block);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const std::runtime_error& error) {
            EXPECT_THAT(error.what(), ::testing::HasSubstr(c.message)) << c.name;
        }
    }
}

} // namespace
} // namespace ludrin::pack
