#include "store/container_layout.hpp"
#include "store/file_storage.hpp"
#include "store/store_error.hpp"
#include "support/payload_generator.hpp"
#include "unit/store/store_test_util.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ludrin::store {
namespace {

using namespace test;
using ::testing::HasSubstr;

const Bytes kSignature = Text("SFP1");

Bytes Record(const Bytes& name, const Bytes& data) {
    const Bytes packed = Pack(data);
    return Cat({U32(static_cast<std::uint32_t>(name.size())), name,
                U32(static_cast<std::uint32_t>(packed.size())), packed});
}

Bytes LegacyRecord(const Bytes& name, const Bytes& data) {
    return Cat({U32(static_cast<std::uint32_t>(name.size())), name,
                U32(static_cast<std::uint32_t>(data.size())), data});
}

std::unique_ptr<TStoredFile> File(TstFileStorage& owner, std::wstring name, Bytes data) {
    auto file = std::make_unique<TStoredFile>(&owner);
    file->FileName = std::move(name);
    file->Size = static_cast<std::uint32_t>(data.size());
    file->Data = std::move(data);
    return file;
}

TEST(Container, WritesTheSignatureLayoutAndReadsItBack) {
    TstFileStorage written;
    written.Files.push_back(File(written, L"brvdll.zip", testing::CompressedLike(100000, 1)));
    written.Files.push_back(File(written, L"vuoto.txt", {}));
    written.Files.push_back(File(written, L"caff\u00E8.exe", testing::MachineCodeLike(70000, 2)));
    Bytes container;
    written.WriteData(container);

    // Header, then slot 0's record; an empty file is a record of N + 12 bytes.
    const Bytes zero = Record(Text("brvdll.zip"), written.Files[0]->Data);
    const Bytes empty = Cat({U32(9), Text("vuoto.txt"), U32(4), U32(0)});
    const Bytes third = Record(Text("caff\xC3\xA8.exe"), written.Files[2]->Data);
    EXPECT_EQ(container, Cat({kSignature, U32(3), zero, empty, third}));

    TstFileStorage read;
    read.ReadData(container);
    EXPECT_TRUE(read.Compressed);
    ASSERT_EQ(read.Count(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(read.Files[i]->FileName, written.Files[i]->FileName);
        EXPECT_EQ(read.Files[i]->Size, written.Files[i]->Size);
        EXPECT_EQ(read.Files[i]->Bytes(), written.Files[i]->Data);
        EXPECT_EQ(read.Files[i]->Owner, &read);
    }
    EXPECT_EQ(read.DataSize(), 170000u);
}

TEST(Container, LegacyLayoutReadsUnpackedAndIsWrittenBackWithTheSignature) {
    const Bytes first = Text("primo contenuto");
    const Bytes second = testing::TextLike(5000, 3);
    const Bytes legacy = Cat({U32(2), U32(0xDEADBEEF), LegacyRecord(Text("a.txt"), first),
                              LegacyRecord(Text("b.txt"), second)});
    TstFileStorage store;
    store.ReadData(legacy);
    EXPECT_FALSE(store.Compressed);
    ASSERT_EQ(store.Count(), 2u);
    EXPECT_EQ(store.Files[0]->Bytes(), first);
    EXPECT_EQ(store.Files[1]->FileName, L"b.txt");

    Bytes rewritten;
    store.WriteData(rewritten);
    EXPECT_EQ(rewritten, Cat({kSignature, U32(2), Record(Text("a.txt"), first),
                              Record(Text("b.txt"), second)}));
}

TEST(Container, LegacyRecordCutShortIsAStreamReadError) {
    const Bytes legacy = Cat({U32(1), U32(0), U32(1), Text("a"), U32(10), Text("short")});
    TstFileStorage store;
    try {
        store.ReadData(legacy);
        FAIL() << "accepted";
    } catch (const EReadError& error) {
        EXPECT_STREQ(error.what(), "Stream read error");
    }
    EXPECT_EQ(store.Count(), 0u);
}

TEST(Container, NamesAreDecodedWithoutValidation) {
    // Half of a UTF-16LE name, as older builds stored it: NULs are kept as characters.
    const Bytes name = Hex({'b', 0, 'r', 0, 'v'});
    TstFileStorage store;
    store.ReadData(Cat({kSignature, U32(1), Record(name, Text("x"))}));
    EXPECT_EQ(store.Files[0]->FileName, std::wstring(L"b\0r\0v", 5));
    EXPECT_FALSE(store.Extract(L"brv", L"unused"));
}

TEST(Container, ReadingAppendsToTheFilesAlreadyThere) {
    TstFileStorage store;
    store.Files.push_back(File(store, L"gi\u00E0.bin", Text("old")));
    store.ReadData(Cat({kSignature, U32(1), Record(Text("new.bin"), Text("new"))}));
    ASSERT_EQ(store.Count(), 2u);
    EXPECT_EQ(store.Files[1]->FileName, L"new.bin");
}

TEST(Container, DataSizeWrapsModulo2To32) {
    TstFileStorage store;
    for (int i = 0; i < 3; ++i) {
        auto file = std::make_unique<TStoredFile>(&store);
        file->Size = 0x60000000;
        store.Files.push_back(std::move(file));
    }
    EXPECT_EQ(store.DataSize(), 0x20000000u);
}

struct BadContainer {
    const char* name;
    Bytes container;
    const char* message;
};

class ContainerRejects : public ::testing::TestWithParam<BadContainer> {};

TEST_P(ContainerRejects, ItAndKeepsTheStoreAsItWas) {
    const auto& c = GetParam();
    auto bytes = std::make_unique<std::uint8_t[]>(c.container.size());
    std::copy(c.container.begin(), c.container.end(), bytes.get());
    TstFileStorage store;
    store.Files.push_back(File(store, L"kept", Text("kept")));
    try {
        store.ReadData(std::span<const std::uint8_t>(bytes.get(), c.container.size()));
        FAIL() << "accepted";
    } catch (const EStoreError& error) {
        EXPECT_THAT(error.what(), HasSubstr(c.message));
    }
    EXPECT_FALSE(store.Compressed);
    ASSERT_EQ(store.Count(), 1u);
    EXPECT_EQ(store.Files[0]->FileName, L"kept");
}

const Bytes kGood = Record(Text("ok"), Text("abcabc"));

INSTANTIATE_TEST_SUITE_P(
    Malformed, ContainerRejects,
    ::testing::Values(
        BadContainer{"no_header", Hex({'S', 'F'}), "Stream read error"},
        BadContainer{"count_past_records", Cat({kSignature, U32(2), kGood}),
                     "stored file 1 at offset 32: the name length field"},
        BadContainer{"name_past_end", Cat({kSignature, U32(1), U32(100), Text("ab")}),
                     "name of 100 bytes runs past the end"},
        BadContainer{"packed_length_missing",
                     Cat({kSignature, U32(1), U32(1), Text("a"), Hex({4})}), "packed length field"},
        BadContainer{"packed_length_below_4",
                     Cat({kSignature, U32(1), U32(1), Text("a"), U32(3), Hex({0, 0, 0})}),
                     "below the 4 bytes"},
        BadContainer{"packed_past_end",
                     Cat({kSignature, U32(1), U32(1), Text("a"), U32(50), U32(1)}),
                     "packed data of 50 bytes runs past"},
        BadContainer{
            "unpacks_short",
            Cat({kSignature, U32(1), U32(1), Text("a"), U32(9), U32(2), Hex({3, 0, 0, 0, 'a'})}),
            "unpack to 1 bytes instead of the file's size of 2"},
        BadContainer{"unpacks_long",
                     Cat({kSignature, U32(1), U32(1), Text("a"), U32(10), U32(1),
                          Hex({4, 0, 0, 0, 'a', 'b'})}),
                     "more bytes than the file's size"},
        BadContainer{"forged_size",
                     Cat({kSignature, U32(1), U32(1), Text("a"), U32(9), U32(0xFFFFFFF0),
                          Hex({3, 0, 0, 0, 'a'})}),
                     "cannot come from 1 packed blocks"},
        BadContainer{
            "damaged_blocks",
            Cat({kSignature, U32(1), U32(1), Text("a"), U32(9), U32(5), Hex({9, 0, 0, 0, 'a'})}),
            "runs past the end of the packed data"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Container, WalkingListsRecordsInPlaceWithoutUnpacking) {
    const Bytes container = Cat({kSignature, U32(2), kGood, Record(Text("b"), Bytes(300, 'z'))});
    const auto view = WalkContainer(container);
    EXPECT_TRUE(view.compressed);
    ASSERT_EQ(view.records.size(), 2u);
    EXPECT_EQ(view.records[1].offset, 8 + kGood.size());
    EXPECT_EQ(view.records[1].size, 300u);
    EXPECT_EQ(view.records[1].length, 4u + 2 + 2 + 5);
    EXPECT_EQ(view.end, container.size());
    EXPECT_EQ(view.records[0].name.data(), container.data() + 12) << "not copied";
}

} // namespace
} // namespace ludrin::store
