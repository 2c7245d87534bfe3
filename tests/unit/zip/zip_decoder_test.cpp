// Decoding one entry: stored and deflated data, the chunking, the checks against the
// directory, the output bound, decryption and the progress points.

#include "unit/zip/zip_test_util.hpp"
#include "zip/zip_error.hpp"

#include <gtest/gtest.h>

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::Crc32;
using ludrin::testing::Deflate;
using ludrin::testing::RandomBytes;
using ludrin::testing::TextBytes;
using ludrin::testing::WriteZip;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

ZipEntryPlan Entry(const std::string& data, std::uint16_t method) {
    return ludrin::testing::MakeEntry("entry.bin", data, method);
}

std::unique_ptr<LoadedArchive> One(const ZipEntryPlan& entry) {
    ZipArchivePlan spec;
    spec.entries = {entry};
    return Load(WriteZip(spec));
}

TEST(ZipDecoder, StoredAndDeflatedEntriesOfEverySize) {
    struct Case {
        const char* what;
        std::string data;
        std::uint16_t method;
    };
    const std::vector<Case> cases{
        {"empty stored", "", 0},
        {"empty deflated", "", 8},
        {"one byte", "x", 8},
        {"stored, several pieces", RandomBytes(200000, 1), 0},
        {"stored, several chunks", RandomBytes(kDecodeChunkSize * 2 + 17, 2), 0},
        // More than one 1 MiB chunk of compressed input, one inflate state across them.
        {"deflated, several input chunks", RandomBytes(kDecodeChunkSize * 2 + 5, 3), 8},
        {"deflated, several output buffers per chunk", TextBytes(9 * kDecodeChunkSize, 4), 8},
    };
    for (const Case& c : cases) {
        const auto archive = One(Entry(c.data, c.method));
        const Decoded d = Decode(*archive, 0);
        EXPECT_TRUE(d.result.ok) << c.what;
        EXPECT_TRUE(d.data == c.data) << c.what;
    }
}

TEST(ZipDecoder, DataStartsAfterTheLocalHeadersOwnNameAndExtra) {
    ZipEntryPlan entry = Entry(TextBytes(3000, 5), 8);
    entry.localExtra = ludrin::testing::ExtraBlock(0x7075, std::string(300, 'L'));
    entry.centralExtra = ludrin::testing::ExtraBlock(0x000A, std::string(32, 'C'));
    const auto archive = One(entry);
    EXPECT_EQ(Decode(*archive, 0).data, entry.data);
}

TEST(ZipDecoder, FailedChecks) {
    struct Case {
        const char* what;
        ZipEntryPlan entry;
        std::function<void(std::string&)> damage;
        bool ok;
    };
    const std::string text = TextBytes(20000, 6);
    auto withCrc = [](ZipEntryPlan e, std::uint32_t crc) {
        e.crc = crc;
        return e;
    };
    auto withSize = [](ZipEntryPlan e, std::uint32_t size) {
        e.declaredSize = size;
        return e;
    };
    auto flipDataByte = [](std::string& bytes) {
        bytes[30 + 9 + 40] ^= 0x55;
    };
    ZipEntryPlan strong = withCrc(Entry(text, 8), 0x12345678);
    strong.extractVersion = 0x4114;
    ZipEntryPlan trailing = Entry(text, 8);
    trailing.compressedData = Deflate(text) + "tail";
    ZipEntryPlan garbage = Entry(text, 8);
    garbage.compressedData = RandomBytes(500, 9);
    ZipEntryPlan unknown = Entry(text, 12);
    unknown.compressedData = "bzip2 data";
    const std::vector<Case> cases{
        {"stored, wrong CRC", withCrc(Entry(text, 0), 1), nullptr, false},
        {"deflated, wrong CRC", withCrc(Entry(text, 8), 1), nullptr, false},
        {"deflated, flipped data byte", Entry(text, 8), flipDataByte, false},
        {"stored, flipped data byte", Entry(text, 0), flipDataByte, false},
        {"size declared smaller", withSize(Entry(text, 8), 1000), nullptr, false},
        {"size declared larger", withSize(Entry(text, 8), 30000), nullptr, false},
        {"stored, size declared smaller", withSize(Entry(text, 0), 1000), nullptr, false},
        {"extract version 0x4114 still checks the CRC", strong, nullptr, false},
        {"bytes after the deflate data", trailing, nullptr, false},
        {"not deflate data", garbage, nullptr, false},
        {"unknown method", unknown, nullptr, false},
    };
    for (const Case& c : cases) {
        ZipArchivePlan spec;
        spec.entries = {c.entry};
        std::string bytes = WriteZip(spec);
        if (c.damage) {
            c.damage(bytes);
        }
        const auto archive = Load(bytes);
        const Decoded d = Decode(*archive, 0);
        EXPECT_EQ(d.result.ok, c.ok) << c.what;
        // Never more output than the directory declares.
        EXPECT_LE(d.data.size(), archive->dm.CDir[0].UncompressedSize()) << c.what;
    }
}

TEST(ZipDecoder, StoredEntryWithWrongCrcFailsAfterWritingAllItsBytes) {
    const std::string data = RandomBytes(150000, 7);
    ZipEntryPlan entry = Entry(data, 0);
    entry.crc = Crc32(data) ^ 1;
    const Decoded d = Decode(*One(entry), 0);
    EXPECT_FALSE(d.result.ok);
    EXPECT_EQ(d.data, data);
}

TEST(ZipDecoder, HugeDeclaredSizeAllocatesNothingForIt) {
    // A small entry that claims 4 GiB: the decoding fails by size, with bounded buffers.
    ZipEntryPlan entry = Entry(TextBytes(1000, 8), 8);
    entry.declaredSize = 0xFFFFFFFE;
    const Decoded d = Decode(*One(entry), 0);
    EXPECT_FALSE(d.result.ok);
    EXPECT_EQ(d.data, entry.data);
}

TEST(ZipDecoder, ReadStopsAtTheCentralDirectory) {
    // The compressed size reaches past the directory start: only the real data is read.
    ZipEntryPlan entry = Entry(TextBytes(50000, 9), 8);
    entry.declaredCompressedSize = 0x00FFFFFF;
    const Decoded d = Decode(*One(entry), 0);
    EXPECT_TRUE(d.result.ok);
    EXPECT_EQ(d.data, entry.data);
}

TEST(ZipDecoder, Deflate64RaisesItsOwnError) {
    ZipEntryPlan entry = Entry("data", 9);
    entry.compressedData = "zz";
    const auto archive = One(entry);
    try {
        Decode(*archive, 0);
        FAIL();
    } catch (const EZipException& e) {
        EXPECT_EQ(e.NativeError(), 55);
        EXPECT_STREQ(e.what(),
                     "Deflate64 compression method is not supported - Native error: 00055");
    }
}

TEST(ZipDecoder, TruncatedLocalHeaderIsTheStreamsReadError) {
    ZipArchivePlan spec;
    spec.entries = {Entry("abc", 0)};
    std::string bytes = WriteZip(spec);
    const auto archive = Load(bytes);
    TDirItem item = archive->dm.CDir[0];
    item.CentralDir.relOffsetLH = static_cast<std::uint32_t>(bytes.size() - 10);
    PlainHooks hooks;
    MemoryZipOutput out;
    EXPECT_THROW(InternalDecompressFile(archive->dm, item, out, hooks), fs::FileReadError);
}

TEST(ZipDecoder, TraditionalEncryption) {
    const std::string data = TextBytes(70000, 10);
    struct Case {
        const char* what;
        std::uint16_t method;
        bool descriptor;
        std::string password;
        std::vector<std::string> answers;
        bool ok;
        bool skipped;
        int asked;
    };
    const std::vector<Case> cases{
        {"stored, right password", 0, false, "secret", {}, true, false, 0},
        {"deflated, right password", 8, false, "secret", {}, true, false, 0},
        {"check byte from the time", 8, true, "secret", {}, true, false, 0},
        {"no password, prompt answers it", 8, false, "", {"secret"}, true, false, 1},
        {"wrong, then right", 8, true, "wrong", {"nope", "secret"}, true, false, 2},
        {"no password, prompt cancelled", 8, false, "", {}, false, true, 1},
    };
    for (const Case& c : cases) {
        ZipEntryPlan entry = Entry(data, c.method);
        entry.password = "secret";
        entry.dataDescriptor = c.descriptor;
        const auto archive = One(entry);
        PlainHooks hooks;
        hooks.password = c.password;
        hooks.answers = c.answers;
        const Decoded d = Decode(*archive, 0, hooks);
        EXPECT_EQ(d.result.ok, c.ok) << c.what;
        EXPECT_EQ(d.result.skipped, c.skipped) << c.what;
        EXPECT_EQ(hooks.asked, c.asked) << c.what;
        if (c.ok) {
            EXPECT_TRUE(d.data == data) << c.what;
        }
    }
}

TEST(ZipDecoder, ProgressPoints) {
    struct Case {
        const char* what;
        std::string data;
        std::uint16_t method;
        std::int64_t progressMax;
        std::vector<std::int64_t> reported;
    };
    const std::string big = TextBytes(3 * kDecodeChunkSize + 10, 11);
    const std::vector<Case> cases{
        {"empty stored: nothing to report", "", 0, 2, {}},
        {"empty deflated: one point at 0", "", 8, 2, {0}},
        {"small deflated: one point at 0", "abc", 8, 3, {0}},
        {"stored: after each piece", std::string(150000, 's'), 0, 150000, {65535, 131070, 150000}},
        // One point per inflate step: each fills the 1 MiB output buffer.
        {"deflated: bytes inflated before each step",
         big,
         8,
         static_cast<std::int64_t>(big.size()),
         {0, 1 << 20, 2 << 20, 3 << 20}},
    };
    for (const Case& c : cases) {
        PlainHooks hooks;
        const Decoded d = Decode(*One(Entry(c.data, c.method)), 0, hooks);
        EXPECT_TRUE(d.result.ok) << c.what;
        EXPECT_EQ(hooks.progressMax, c.progressMax) << c.what;
        EXPECT_EQ(hooks.reported, c.reported) << c.what;
    }
}

TEST(ZipDecoder, CancelFromProgressStopsTheEntry) {
    for (const std::uint16_t method : {0, 8}) {
        const std::string data = TextBytes(4 * kDecodeChunkSize, 12);
        PlainHooks hooks;
        hooks.cancelAt = 1;
        const Decoded d = Decode(*One(Entry(data, method)), 0, hooks);
        EXPECT_FALSE(d.result.ok) << method;
        EXPECT_LT(d.data.size(), data.size()) << method;
        EXPECT_EQ(hooks.reported.size(), 2u) << method;
    }
}

} // namespace
} // namespace ludrin::zip
