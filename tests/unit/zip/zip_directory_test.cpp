// Finding and loading an archive's directory: end record, comments, stubs, Zip64, names,
// extra blocks and the rebuild from local headers.

#include "unit/zip/zip_test_util.hpp"
#include "zip/zip_error.hpp"

#include <gtest/gtest.h>

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::ExtraBlock;
using ludrin::testing::Le16;
using ludrin::testing::Le32;
using ludrin::testing::MakeEntry;
using ludrin::testing::WriteZip;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

ZipArchivePlan ThreeEntries() {
    ZipArchivePlan spec;
    ZipEntryPlan folder = MakeEntry("top/", "", 0);
    folder.externalAttr = 0x10;
    spec.entries = {folder, MakeEntry("top/a.txt", ludrin::testing::TextBytes(5000, 1)),
                    MakeEntry("top/b.bin", ludrin::testing::RandomBytes(300, 2), 0)};
    return spec;
}

std::vector<std::string> Names(const TZipDirManager& dm) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < dm.CDir.Count(); ++i) {
        names.push_back(Utf8(dm.CDir[i].Name));
    }
    return names;
}

const std::vector<std::string> kThreeNames{"top/", "top/a.txt", "top/b.bin"};

TEST(ZipDirectory, OrdinaryArchiveLoadsEveryEntryInStoredOrder) {
    const ZipArchivePlan spec = ThreeEntries();
    const auto archive = Load(WriteZip(spec));
    const TZipDirManager& dm = archive->dm;
    EXPECT_EQ(Names(dm), kThreeNames);
    EXPECT_EQ(dm.StubSize, 0);
    EXPECT_FALSE(dm.FZip64);
    EXPECT_EQ(dm.CDir[0].CentralDir.externalAttr, 0x10u);
    EXPECT_EQ(dm.CDir[1].CompressionMethod, 8);
    EXPECT_EQ(dm.CDir[1].UncompressedSize(), 5000u);
    EXPECT_EQ(dm.CDir[2].CentralDir.crc32, ludrin::testing::Crc32(spec.entries[2].data));
    EXPECT_EQ(Decode(*archive, 1).data, spec.entries[1].data);
    // The central directory begins right after the last entry's data.
    EXPECT_EQ(archive->dm.CentralDirOffset,
              static_cast<std::int64_t>(archive->bytes.size() - 22 - (46 * 3 + 4 + 9 + 9)));
}

TEST(ZipDirectory, CommentsAndFalseEndRecords) {
    struct Case {
        const char* what;
        std::string comment;
        std::size_t entries;
    };
    // An end record inside the comment that names more entries on its disk than in all
    // (entriesOnDisk > entriesCentralDir) fails the plausibility check and is passed over.
    const std::string rejected = "x" + Le32(0x06054B50) + Le16(0) + Le16(0) + Le16(5) + Le16(1) +
                                 Le32(0) + Le32(0) + Le16(0) + "y";
    // One that passes every check hides the real archive: it is taken, nearest the end.
    const std::string accepted =
        Le32(0x06054B50) + Le16(0) + Le16(0) + Le16(0) + Le16(0) + Le32(0) + Le32(0) + Le16(0);
    const std::vector<Case> cases{
        {"longest comment", std::string(65535, 'c'), 3},
        {"signature bytes alone", "PK\x05\x06", 3},
        {"implausible record", rejected, 3},
        {"plausible record", accepted, 0},
    };
    for (const Case& c : cases) {
        ZipArchivePlan spec = ThreeEntries();
        spec.comment = c.comment;
        const auto archive = Load(WriteZip(spec));
        EXPECT_EQ(archive->dm.CDir.Count(), c.entries) << c.what;
        if (c.entries == 3) {
            EXPECT_EQ(archive->dm.ArchiveComment, c.comment) << c.what;
            EXPECT_EQ(Decode(*archive, 2).data, spec.entries[2].data) << c.what;
        }
    }
}

TEST(ZipDirectory, EndRecordWhoseCommentRunsPastTheFileIsNoEndRecord) {
    ZipArchivePlan spec = ThreeEntries();
    spec.comment = "short";
    spec.declaredCommentLength = 6;
    // The rebuild from local headers still finds the entries.
    const auto archive = Load(WriteZip(spec));
    EXPECT_EQ(Names(archive->dm), kThreeNames);
    EXPECT_EQ(archive->dm.CentralDirOffset, static_cast<std::int64_t>(archive->bytes.size()));
}

TEST(ZipDirectory, PrependedStubWithAndWithoutAdjustedOffsets) {
    // The stub holds a local header signature that agrees with nothing.
    const std::string stub = "MZ stub " + Le32(0x04034B50) + std::string(100, '\x90');
    for (const bool adjusted : {true, false}) {
        ZipArchivePlan spec = ThreeEntries();
        spec.stub = stub;
        spec.offsetsIncludeStub = adjusted;
        const auto archive = Load(WriteZip(spec));
        const TZipDirManager& dm = archive->dm;
        ASSERT_EQ(dm.CDir.Count(), 3u) << adjusted;
        EXPECT_EQ(dm.StubSize, static_cast<std::int64_t>(stub.size())) << adjusted;
        EXPECT_EQ(dm.CDir[1].LocalHeaderOffset(), stub.size() + 30 + 4) << adjusted;
        // Folder entries keep their offsets: they have no data to find.
        EXPECT_EQ(dm.CDir[0].LocalHeaderOffset(), adjusted ? stub.size() : 0u) << adjusted;
        for (std::size_t i = 1; i < 3; ++i) {
            const Decoded d = Decode(*archive, i);
            EXPECT_TRUE(d.result.ok) << adjusted << i;
            EXPECT_EQ(d.data, spec.entries[i].data) << adjusted << i;
        }
    }
}

TEST(ZipDirectory, ArchiveWithoutEntriesCountsEverythingAsStub) {
    ZipArchivePlan spec;
    spec.stub = "prefix bytes";
    const auto archive = Load(WriteZip(spec));
    EXPECT_EQ(archive->dm.CDir.Count(), 0u);
    EXPECT_EQ(archive->dm.StubSize, 12);
}

TEST(ZipDirectory, Zip64RecordsAndExtraBlockGiveSizesAndOffsets) {
    ZipArchivePlan spec = ThreeEntries();
    spec.zip64EndRecords = true;
    for (auto& e : spec.entries) {
        e.zip64 = true;
    }
    const auto archive = Load(WriteZip(spec));
    const TZipDirManager& dm = archive->dm;
    EXPECT_TRUE(dm.FZip64);
    ASSERT_EQ(Names(dm), kThreeNames);
    EXPECT_TRUE(dm.CDir[1].bHugeFile);
    EXPECT_EQ(dm.CDir[1].CentralDir.unCompSize, 0xFFFFFFFFu);
    EXPECT_EQ(dm.CDir[1].UncompressedSize(), 5000u);
    EXPECT_EQ(Decode(*archive, 1).data, spec.entries[1].data);
    EXPECT_EQ(Decode(*archive, 2).data, spec.entries[2].data);
}

TEST(ZipDirectory, Zip64LocatorWithoutItsEndRecordFails) {
    ZipArchivePlan spec = ThreeEntries();
    spec.zip64EndRecords = true;
    spec.omitZip64EndRecord = true;
    std::string bytes = WriteZip(spec);
    // The locator points at the first local header: 56 bytes there, but no Zip64 record.
    bytes.replace(bytes.size() - 22 - 20 + 8, 8, ludrin::testing::Le64(0));
    LoadedArchive archive(bytes);
    try {
        LoadDir(archive.dm, {});
        FAIL() << "loaded";
    } catch (const EZipException& e) {
        EXPECT_EQ(e.NativeError(), 40);
        EXPECT_STREQ(e.what(), "Cannot find 64-bit directory end record - Native error: 00040");
    }
}

TEST(ZipDirectory, DamagedOrMissingDirectoryIsRebuiltFromLocalHeaders) {
    ZipArchivePlan spec = ThreeEntries();
    spec.entries[1].dataDescriptor = true;
    const std::string whole = WriteZip(spec);
    const std::size_t dirStart = whole.size() - 22 - (46 * 3 + 4 + 9 + 9);
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string badCount = whole;
    badCount.replace(whole.size() - 22 + 8, 4, Le16(0xFFFF) + Le16(0xFFFF));
    std::string cutDirectory = whole;
    cutDirectory.replace(whole.size() - 22 + 12, 4, Le32(46 * 3 + 4 + 9 + 9 + 30));
    const std::vector<Case> cases{
        {"no end record", whole.substr(0, dirStart + 50)},
        {"entry count escaped without Zip64", badCount},
        {"directory size past its start", cutDirectory},
    };
    for (const Case& c : cases) {
        const auto archive = Load(c.bytes);
        const TZipDirManager& dm = archive->dm;
        ASSERT_EQ(Names(dm), kThreeNames) << c.what;
        EXPECT_EQ(dm.CentralDirOffset, static_cast<std::int64_t>(c.bytes.size())) << c.what;
        EXPECT_EQ(dm.CDir[0].CentralDir.externalAttr, 0x10u) << c.what;
        EXPECT_EQ(dm.CDir[1].CentralDir.externalAttr, 0x20u) << c.what;
        // The descriptor gives the sizes and CRC that the local header left at 0.
        EXPECT_EQ(dm.CDir[1].UncompressedSize(), 5000u) << c.what;
        EXPECT_EQ(dm.CDir[1].CentralDir.crc32, ludrin::testing::Crc32(spec.entries[1].data));
        EXPECT_EQ(Decode(*archive, 1).data, spec.entries[1].data) << c.what;
        EXPECT_EQ(Decode(*archive, 2).data, spec.entries[2].data) << c.what;
    }
}

// A directory that disagrees with itself is damage, never a shorter or longer listing: the
// entries are rebuilt from their local headers, as peers list them.
TEST(ZipDirectory, DirectoryThatLiesAboutItselfIsRebuilt) {
    const std::string whole = WriteZip(ThreeEntries());
    const std::size_t end = whole.size() - 22;
    const std::size_t dirStart = end - (46 * 3 + 4 + 9 + 9);
    auto withCount = [&](std::uint16_t count) {
        std::string bytes = whole;
        bytes.replace(end + 8, 4, Le16(count) + Le16(count));
        return bytes;
    };
    auto withSize = [&](std::uint32_t size) {
        std::string bytes = whole;
        bytes.replace(end + 12, 4, Le32(size));
        bytes.replace(end + 16, 4, Le32(static_cast<std::uint32_t>(end - size)));
        return bytes;
    };
    std::string badSignature = whole;
    badSignature[dirStart + 46 + 4] = 'X'; // the second central header's signature
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::vector<Case> cases{
        {"two of three counted", withCount(2)},
        {"none of three counted", withCount(0)},
        {"one more than there are", withCount(4)},
        {"a header without its signature", badSignature},
        {"directory size larger than its headers", withSize(46 * 3 + 4 + 9 + 9 + 4)},
    };
    for (const Case& c : cases) {
        const auto archive = Load(c.bytes);
        EXPECT_EQ(Names(archive->dm), kThreeNames) << c.what;
        // Rebuilt: the directory is taken to begin where the file ends.
        EXPECT_EQ(archive->dm.CentralDirOffset, static_cast<std::int64_t>(c.bytes.size()))
            << c.what;
    }
}

TEST(ZipDirectory, TruncatedEntryWithoutItsDescriptorKeepsTheLocalSizesAndFails) {
    ZipArchivePlan spec;
    spec.entries = {MakeEntry("a.txt", "hello"), MakeEntry("b.txt", std::string(4000, 'b'))};
    spec.entries[1].dataDescriptor = true;
    const std::string whole = WriteZip(spec);
    const auto archive = Load(whole.substr(0, whole.find("b.txt") + 5 + 10));
    ASSERT_EQ(archive->dm.CDir.Count(), 2u);
    EXPECT_EQ(archive->dm.CDir[1].UncompressedSize(), 0u);
    EXPECT_EQ(archive->dm.CDir[1].CompressedSize(), 0u);
    EXPECT_EQ(archive->dm.CDir[1].CentralDir.externalAttr, 0x20u);
    EXPECT_EQ(Decode(*archive, 0).data, "hello");
    // Its zero sizes and CRC would let an empty file pass as the entry's data.
    EXPECT_FALSE(Decode(*archive, 1).result.ok);
}

TEST(ZipDirectory, BytesWithoutAnyLocalHeaderAreNoArchive) {
    for (const std::string& bytes :
         {std::string(), std::string("PK"), std::string(5000, 'z'), Le32(0x04034B50) + "short"}) {
        LoadedArchive archive(bytes);
        try {
            LoadDir(archive.dm, {});
            FAIL() << bytes.size();
        } catch (const EZipException& e) {
            EXPECT_EQ(e.NativeError(), 35);
        }
    }
}

TEST(ZipDirectory, StrictOpeningPropagatesDamageInsteadOfRebuilding) {
    ZipArchivePlan spec = ThreeEntries();
    std::string cut = WriteZip(spec);
    // More entries than the directory holds: reading runs into the end of the file.
    cut.replace(cut.size() - 22 + 8, 4, Le16(200) + Le16(200));
    LoadedArchive damaged(cut);
    EXPECT_THROW(LoadDir(damaged.dm, {true, false}), fs::FileReadError);

    spec.entries[2].declaredCompressedSize = 0x7FFFFFFF;
    LoadedArchive tooLarge(WriteZip(spec));
    try {
        LoadDir(tooLarge.dm, {true, false});
        FAIL();
    } catch (const EZipException& e) {
        EXPECT_EQ(e.NativeError(), 57);
    }
    // The installer's settings open it; the entry's read stops at the directory.
    LoadedArchive tolerant(WriteZip(spec));
    LoadDir(tolerant.dm, {});
    EXPECT_EQ(tolerant.dm.CDir.Count(), 3u);
}

TEST(ZipDirectory, NamesDecodedByFlagAndContent) {
    struct Case {
        const char* what;
        std::string bytes;
        std::uint16_t flags;
        bool oemFileNames;
        std::string extra;
        std::string expected; // UTF-8
    };
    const std::string cp437 = "Gr\x94\xE1"
                              "e-\x8E.txt"; // "Größe-Ä.txt" in code page 437
    const std::vector<Case> cases{
        {"ASCII", "dir/plain.txt", 0, true, "", "dir/plain.txt"},
        {"ASCII, flag", "dir/plain.txt", 0x800, true, "", "dir/plain.txt"},
        {"OEM without the flag", cp437, 0, true, "",
         "Gr\xC3\xB6\xC3\x9F"
         "e-\xC3\x84.txt"},
        // Without the OEM step the same bytes are read in the ANSI code page (1252).
        {"OEM bytes, flag set", cp437, 0x800, true, "",
         "Gr\xE2\x80\x9D\xC3\xA1"
         "e-\xC5\xBD.txt"},
        {"OEM bytes, option off", cp437, 0, false, "",
         "Gr\xE2\x80\x9D\xC3\xA1"
         "e-\xC5\xBD.txt"},
        {"UTF-8 with the flag", "\xE6\x97\xA5\xC3\xA8.txt", 0x800, true, "",
         "\xE6\x97\xA5\xC3\xA8.txt"},
        {"UTF-8 recognised without the flag", "caf\xC3\xA9.txt", 0, false, "", "caf\xC3\xA9.txt"},
        {"ANSI bytes that are no UTF-8", "caf\xE9.txt", 0x800, true, "", "caf\xC3\xA9.txt"},
        {"name ends at a zero byte", std::string("a.txt\0hidden", 12), 0x800, true, "", "a.txt"},
        {"Unicode name block replaces", "x.txt", 0, true,
         ludrin::testing::UnicodeNameBlock(u"\u00E8\u65E5/\U0001F600.txt"),
         "\xC3\xA8\xE6\x97\xA5/\xF0\x9F\x98\x80.txt"},
        {"Unicode block with a bad count is ignored", "x.txt", 0, true,
         ExtraBlock(0x554E, "NUCX" + Le32(50) + "ab"), "x.txt"},
        {"Unicode block without its signature is ignored", "x.txt", 0, true,
         ExtraBlock(0x554E, "NUCY" + Le32(1) + "ab"), "x.txt"},
    };
    for (const Case& c : cases) {
        ZipArchivePlan spec;
        spec.entries = {MakeEntry(c.bytes, "data")};
        spec.entries[0].flags = c.flags;
        spec.entries[0].centralExtra = c.extra;
        const auto archive = Load(WriteZip(spec), {c.oemFileNames, true});
        ASSERT_EQ(archive->dm.CDir.Count(), 1u) << c.what;
        EXPECT_EQ(Utf8(archive->dm.CDir[0].Name), c.expected) << c.what;
    }
}

TEST(ZipDirectory, ExtraBlocksAreKeptAndTheKnownOnesRead) {
    ZipArchivePlan spec;
    spec.entries = {MakeEntry("aes.txt", "data"), MakeEntry("late.txt", "data"),
                    MakeEntry("cut.txt", "d")};
    spec.entries[0].flags = 1;
    spec.entries[0].method = 99;
    spec.entries[0].compressedData = std::string(40, 'e');
    spec.entries[0].centralExtra =
        ExtraBlock(0x000A, std::string(32, 'n')) + ludrin::testing::AesBlock(3, 8);
    // From extract version 0x4114 on the AES block is not read.
    spec.entries[1] = spec.entries[0];
    spec.entries[1].name = "late.txt";
    spec.entries[1].extractVersion = 0x4114;
    // A block longer than the field is cut to what is there; three bytes left are skipped.
    spec.entries[2].centralExtra = Le16(0x7777) + Le16(100) + "abcdef";
    const auto archive = Load(WriteZip(spec));
    const TDirItem& aes = archive->dm.CDir[0];
    EXPECT_EQ(aes.CompressionMethod, 8);
    EXPECT_EQ(aes.ZipEncryptionAlgorithm, TZipCryptoAlgorithm::caAES_256);
    ASSERT_EQ(aes.ExtraFields.size(), 2u);
    EXPECT_EQ(aes.ExtraFields[0].headerID, 0x000A);
    EXPECT_EQ(aes.ExtraFields[0].pData.size(), 32u);
    EXPECT_EQ(archive->dm.CDir[1].CompressionMethod, 99);
    const TDirItem& cut = archive->dm.CDir[2];
    ASSERT_EQ(cut.ExtraFields.size(), 1u);
    EXPECT_EQ(cut.ExtraFields[0].dataSize, 6);
    // AES entries are not decoded: they fail like an unknown method.
    EXPECT_FALSE(Decode(*archive, 0).result.ok);
}

TEST(ZipDirectory, NameIndexFindsTheFirstEntryIgnoringAsciiCase) {
    ZipArchivePlan spec;
    spec.entries = {MakeEntry("Dir/File.TXT", "1"), MakeEntry("other", "2"),
                    MakeEntry("dir/file.txt", "3"), MakeEntry("\xC3\x88.txt", "4")};
    spec.entries[3].flags = 0x800;
    const auto archive = Load(WriteZip(spec));
    const TZipDirArray& dir = archive->dm.CDir;
    EXPECT_EQ(dir.FileExists(L"dir/file.txt"), 0);
    EXPECT_EQ(dir.FileExists(L"DIR/FILE.txt"), 0);
    EXPECT_EQ(dir.FileExists(L"OTHER"), 1);
    EXPECT_EQ(dir.FileExists(L"\u00C8.txt"), 3);
    // Only A to Z are folded.
    EXPECT_EQ(dir.FileExists(L"\u00E8.txt"), -1);
    EXPECT_EQ(dir.FileExists(L"missing"), -1);
}

TEST(ZipDirectory, NameIndexStaysExactOverManyEntriesAndRenames) {
    TZipDirArray dir;
    for (int i = 0; i < 3000; ++i) {
        TDirItem item;
        item.Name = L"F" + std::to_wstring(i % 1000) + L".dat";
        dir.Add(item);
    }
    EXPECT_EQ(dir.FileExists(L"f999.dat"), 999);
    dir.SetItemName(999, L"renamed");
    EXPECT_EQ(dir.FileExists(L"f999.dat"), 1999);
    EXPECT_EQ(dir.FileExists(L"RENAMED"), 999);
    try {
        dir.SetItemName(3000, L"x");
        FAIL();
    } catch (const EZipException& e) {
        EXPECT_EQ(e.NativeError(), 59);
    }
}

// Equal names share one place in the index: 50,000 of them load in linear time and the
// first keeps answering, also after it is renamed.
TEST(ZipDirectory, NameIndexWithManyEqualNames) {
    TZipDirArray dir;
    for (int i = 0; i < 50000; ++i) {
        TDirItem item;
        item.Name = (i % 2 == 0) ? L"same.dll" : L"SAME.DLL";
        dir.Add(item);
    }
    EXPECT_EQ(dir.FileExists(L"Same.dll"), 0);
    dir.SetItemName(0, L"first");
    EXPECT_EQ(dir.FileExists(L"same.dll"), 1);
    EXPECT_EQ(dir.FileExists(L"first"), 0);
}

// A stream that counts what is read from it, to hold the rebuild's reads to the file's size.
class CountingStream final : public ZipStream {
public:
    explicit CountingStream(std::span<const std::uint8_t> bytes) : inner_(bytes) {}
    std::uint64_t Size() const override { return inner_.Size(); }
    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        read += out.size();
        inner_.ReadAt(offset, out);
    }
    mutable std::uint64_t read = 0;

private:
    MemoryZipStream inner_;
};

// Local headers that announce data descriptors, none of which follows, with no directory:
// every header used to start a scan to the end of the file.
TEST(ZipDirectory, RebuildReadsTheFileAFewTimesAtMost) {
    for (const int count : {500, 2000}) {
        ZipArchivePlan spec;
        for (int i = 0; i < count; ++i) {
            ZipEntryPlan entry = MakeEntry("e" + std::to_string(i), "", 0);
            entry.dataDescriptor = true;
            entry.descriptorSignature = false;
            spec.entries.push_back(entry);
        }
        const std::string whole = WriteZip(spec);
        const std::string cut = whole.substr(0, whole.find("PK\x01\x02"));
        const std::vector<std::uint8_t> bytes(cut.begin(), cut.end());
        CountingStream stream(bytes);
        TZipDirManager dm(stream);
        LoadDir(dm, {});
        EXPECT_EQ(dm.CDir.Count(), static_cast<std::size_t>(count));
        EXPECT_LE(stream.read, 8 * bytes.size() + 65536) << count << " entries";
    }
}

} // namespace
} // namespace ludrin::zip
