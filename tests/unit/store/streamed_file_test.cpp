// Stored files read from a container: kept packed in place, checked when read, unpacked
// only while extracted into their output files.

#include "store/file_storage.hpp"
#include "support/payload_generator.hpp"
#include "support/temp_dir.hpp"
#include "unit/store/store_test_util.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace ludrin::store {
namespace {

using namespace test;
using ludrin::testing::ReadFile;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;

// Several chunks in both block modes, and an empty file.
class StreamedStore : public ::testing::Test {
protected:
    StreamedStore() {
        TstFileStorage written;
        for (auto& [name, data] : files) {
            auto file = std::make_unique<TStoredFile>(&written);
            file->FileName = name;
            file->Data = data;
            file->Size = static_cast<std::uint32_t>(data.size());
            written.Files.push_back(std::move(file));
        }
        Bytes bytes;
        written.WriteData(bytes);
        // Exact size on the heap, so that any read past the container is seen.
        size = bytes.size();
        container = std::make_unique<std::uint8_t[]>(size);
        std::copy(bytes.begin(), bytes.end(), container.get());
        store.ReadData(Container());
    }

    std::span<const std::uint8_t> Container() const { return {container.get(), size}; }

    std::vector<std::pair<std::wstring, Bytes>> files{
        {L"brvdll.zip", testing::CompressedLike(3 * kChunkSize + 100, 1)},
        {L"Ludrin.exe", testing::MachineCodeLike(2 * kChunkSize + 7, 2)},
        {L"leggimi.txt", testing::TextLike(kChunkSize + 1, 3)},
        {L"vuoto", {}},
    };
    std::unique_ptr<std::uint8_t[]> container;
    std::size_t size = 0;
    TempDir temp;
    TstFileStorage store;
};

TEST_F(StreamedStore, ReadingKeepsThePackedBytesInPlace) {
    ASSERT_EQ(store.Count(), files.size());
    for (const auto& file : store.Files) {
        ASSERT_TRUE(file->InContainer.has_value());
        EXPECT_TRUE(file->InContainer->packed);
        EXPECT_TRUE(file->Data.empty()) << "nothing unpacked when read";
        EXPECT_GE(file->InContainer->bytes.data(), container.get());
        EXPECT_LE(file->InContainer->bytes.data() + file->InContainer->bytes.size(),
                  container.get() + size);
    }
}

TEST_F(StreamedStore, ExtractionUnpacksEachFileExactly) {
    for (std::size_t slot = 0; slot < files.size(); ++slot) {
        const auto target = temp / "out" / std::to_string(slot);
        store.AutoExtract.ExtractTo.CreatePath = true;
        ASSERT_TRUE(store.Extract(static_cast<std::int32_t>(slot), Wide(target)));
        const std::string written = ReadFile(target);
        EXPECT_TRUE(Bytes(written.begin(), written.end()) == files[slot].second) << slot;
    }
}

TEST_F(StreamedStore, WritingBackGivesTheSameContainer) {
    Bytes again;
    store.WriteData(again);
    EXPECT_TRUE(again == Bytes(container.get(), container.get() + size));
}

TEST_F(StreamedStore, ExtractionThatCannotWriteAnswersFalseAndLeavesNoFile) {
    std::filesystem::create_directory(temp / "occupied");
    bool reported = true;
    store.OnExtracted = [&](void*, const std::wstring&, std::int32_t, bool ok) {
        reported = ok;
    };
    EXPECT_FALSE(store.Extract(0, Wide(temp / "occupied")));
    EXPECT_FALSE(reported);
    EXPECT_TRUE(std::filesystem::is_directory(temp / "occupied"));
}

TEST(StreamedFile, ExtractionHandsEveryStretchItReadToTheHookOnceInOrder) {
    // Large enough for several stretches of blocks.
    const Bytes data = testing::MachineCodeLike(9 << 20, 4);
    TstFileStorage written;
    auto file = std::make_unique<TStoredFile>(&written);
    file->FileName = L"grande.bin";
    file->Size = static_cast<std::uint32_t>(data.size());
    file->Data = data;
    written.Files.push_back(std::move(file));
    Bytes container;
    written.WriteData(container);

    TstFileStorage store;
    store.ReadData(container);
    Bytes seen;
    std::size_t stretches = 0;
    const auto body = store.Files[0]->InContainer->bytes;
    store.OnContainerRead = [&](std::span<const std::uint8_t> stretch) {
        EXPECT_EQ(stretch.data(), body.data() + seen.size()) << "contiguous, in order";
        seen.insert(seen.end(), stretch.begin(), stretch.end());
        ++stretches;
    };
    TempDir temp;
    ASSERT_TRUE(store.Extract(0, Wide(temp / "grande.bin")));
    const std::string out = ReadFile(temp / "grande.bin");
    EXPECT_TRUE(Bytes(out.begin(), out.end()) == data);
    EXPECT_TRUE(seen == Bytes(body.begin(), body.end()));
    EXPECT_GE(stretches, 2u);
}

TEST(StreamedFile, UploadAndClearDataLetGoOfTheContainer) {
    const Bytes container =
        Cat({Text("SFP1"), U32(1), U32(1), Text("a"), U32(9), U32(1), Hex({3, 0, 0, 0, 'z'})});
    TstFileStorage store;
    store.ReadData(container);
    TStoredFile& file = *store.Files[0];
    EXPECT_EQ(file.Bytes(), Text("z"));
    file.ClearData();
    EXPECT_FALSE(file.InContainer.has_value());
    EXPECT_TRUE(file.Bytes().empty());
}

} // namespace
} // namespace ludrin::store
