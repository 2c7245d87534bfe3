#include "platform/text/utf.hpp"
#include "store/file_storage.hpp"
#include "store/store_error.hpp"
#include "support/temp_dir.hpp"
#include "unit/store/store_test_util.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace ludrin::store {
namespace {

using namespace test;
using ludrin::testing::ReadFile;
using ludrin::testing::ScopedEnv;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

// A store on a pretend window, holding a few files.
class StoreFixture : public ::testing::Test {
protected:
    void Add(const std::wstring& name, const std::string& content) {
        auto file = std::make_unique<TStoredFile>(&store);
        file->FileName = name;
        file->Data = Text(content);
        file->Size = static_cast<std::uint32_t>(content.size());
        store.Files.push_back(std::move(file));
    }

    TempDir temp;
    int window = 0;
    TstFileStorage store{&window};
};

TEST_F(StoreFixture, ExtractBySlotCreatesTheFoldersAndReplacesAnOldFile) {
    Add(L"a.bin", "stored");
    Add(L"vuoto", "");
    const auto target = temp / "uno" / "due" / "a.bin";
    EXPECT_TRUE(store.Extract(0, Wide(target)));
    EXPECT_EQ(ReadFile(target), "stored");

    WriteFile(target, "a much longer old content");
    EXPECT_TRUE(store.Extract(0, Wide(target)));
    EXPECT_EQ(ReadFile(target), "stored") << "truncated";

    EXPECT_TRUE(store.Extract(1, Wide(temp / "vuoto")));
    EXPECT_TRUE(std::filesystem::exists(temp / "vuoto"));
    EXPECT_EQ(std::filesystem::file_size(temp / "vuoto"), 0u);
}

TEST_F(StoreFixture, ExtractBySlotOutsideTheListRaisesTheListError) {
    Add(L"a.bin", "x");
    for (int index : {-1, 1, 6}) {
        try {
            store.Extract(index, L"unused");
            FAIL() << index;
        } catch (const EListError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
}

TEST_F(StoreFixture, ExtractThatCannotWriteAnswersFalseAndSaysSo) {
    Add(L"a.bin", "x");
    std::filesystem::create_directory(temp / "occupied");
    bool reported = true;
    store.OnExtracted = [&](void*, const std::wstring&, std::int32_t, bool ok) {
        reported = ok;
    };
    EXPECT_FALSE(store.Extract(0, Wide(temp / "occupied")));
    EXPECT_FALSE(reported);
    WriteFile(temp / "plain", "");
    EXPECT_FALSE(store.Extract(0, Wide(temp / "plain" / "x"))) << "a file where a folder must be";
}

TEST_F(StoreFixture, ExtractByNameIsExactAndTheLowestSlotWins) {
    Add(L"Setup.exe", "first");
    Add(L"Setup.exe", "second");
    EXPECT_FALSE(store.Extract(L"setup.exe", Wide(temp / "lower")));
    EXPECT_FALSE(std::filesystem::exists(temp / "lower"));
    EXPECT_TRUE(store.Extract(L"Setup.exe", Wide(temp / "out")));
    EXPECT_EQ(ReadFile(temp / "out"), "first");
}

TEST_F(StoreFixture, EventsSeeTheWindowAndMayVeto) {
    Add(L"a.bin", "abc");
    std::vector<std::string> calls;
    store.OnExtract = [&](void* sender, const std::wstring& name, std::int32_t size, bool& allow) {
        EXPECT_EQ(sender, &window);
        calls.push_back("extract " + text::WideToUtf8(name) + " " + std::to_string(size));
        allow = name.ends_with(L"allowed");
    };
    store.OnExtracted = [&](void* sender, const std::wstring&, std::int32_t, bool ok) {
        EXPECT_EQ(sender, &window);
        calls.push_back(ok ? "extracted" : "failed");
    };
    EXPECT_TRUE(store.Extract(0, L"vetoed")) << "a veto counts as done";
    EXPECT_TRUE(store.Extract(0, Wide(temp / "allowed")));
    EXPECT_EQ(calls, (std::vector<std::string>{"extract vetoed 3",
                                               "extract " + (temp / "allowed").string() + " 3",
                                               "extracted"}));
    EXPECT_FALSE(std::filesystem::exists("vetoed"));
}

TEST_F(StoreFixture, EmptyOutputGoesToTheDestinationFolder) {
    Add(L"a.bin", "abc");
    store.AutoExtract.ExtractTo.ToplevelDir = TstToplevelDir::tdTempDir;
    store.AutoExtract.ExtractTo.Subdirectory = L"/sotto/cartella";
    ScopedEnv tmp("TMPDIR", temp.Path().string());
    EXPECT_EQ(store.AutoExtract.ExtractTo.Path(), Wide(temp.Path()) + L"/sotto/cartella/");
    EXPECT_TRUE(store.Extract(0));
    EXPECT_EQ(ReadFile(temp / "sotto" / "cartella" / "a.bin"), "abc");

    store.AutoExtract.ExtractTo.ToplevelDir = TstToplevelDir::tdNone;
    store.AutoExtract.ExtractTo.Subdirectory = L"";
    EXPECT_EQ(store.AutoExtract.ExtractTo.Path(), L"");
}

TEST_F(StoreFixture, UnresolvableDestinationWritesNothing) {
    Add(L"a.bin", "abc");
    // No Windows folder on this platform: never a path at the root instead.
    store.AutoExtract.ExtractTo.ToplevelDir = TstToplevelDir::tdMediaDir;
    EXPECT_EQ(store.AutoExtract.ExtractTo.Path(), L"");
    EXPECT_FALSE(store.Extract(0));
    EXPECT_FALSE(store.Extract(L"a.bin"));
}

// A stored name is a file name only: joined to the destination folder, anything else could
// write outside it. Such a file is refused by every form that builds the path itself.
TEST_F(StoreFixture, StoredNamesThatLeaveTheFolderAreRefused) {
    const std::wstring hostile[] = {L"../escaped.txt",
                                    L"..",
                                    L"sub/../../escaped.txt",
                                    L"sub/escaped.txt",
                                    L"..\\escaped.txt",
                                    L"C:escaped.txt",
                                    L"a.txt:evil",
                                    std::wstring(L"a\0b", 3),
                                    L""};
    const auto inside = temp / "inside";
    std::filesystem::create_directories(inside);
    store.AutoExtract.Enabled = true;
    store.AutoExtract.Overwrite = TstFileStorageOverwrite::owAlways;
    store.AutoExtract.ExtractTo.ToplevelDir = TstToplevelDir::tdNone;
    store.AutoExtract.ExtractTo.Subdirectory = Wide(inside) + L"/";
    for (const auto& name : hostile) {
        SCOPED_TRACE(text::WideToUtf8(name));
        store.Files.clear();
        Add(name, "hostile");
        EXPECT_FALSE(store.Extract(0));
        EXPECT_FALSE(store.Extract(name));
        store.Loaded();
        // Nothing written anywhere in the temporary folder, inside or out.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.Path())) {
            EXPECT_TRUE(entry.is_directory()) << entry.path();
        }
    }
    // A plain name still goes where it belongs, and an explicit output path is the caller's.
    store.Files.clear();
    Add(L"plain.txt", "plain");
    EXPECT_TRUE(store.Extract(0));
    EXPECT_EQ(ReadFile(inside / "plain.txt"), "plain");
}

struct OverwriteCase {
    const char* name;
    TstFileStorageOverwrite rule;
    const char* existing; // nullptr: no file
    bool replaced;
};

class LoadedOverwrite : public StoreFixture, public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(LoadedOverwrite, FollowsTheRule) {
    const auto& c = GetParam();
    Add(L"file.txt", "new");
    if (c.existing != nullptr) {
        WriteFile(temp / "file.txt", c.existing);
    }
    store.AutoExtract.Enabled = true;
    store.AutoExtract.Overwrite = c.rule;
    store.AutoExtract.ExtractTo.ToplevelDir = TstToplevelDir::tdNone;
    // tdNone takes the subdirectory as it is, delimiter included.
    store.AutoExtract.ExtractTo.Subdirectory = Wide(temp.Path()) + L"/";
    store.Loaded();
    EXPECT_EQ(ReadFile(temp / "file.txt"), c.replaced ? "new" : (c.existing ? c.existing : ""));
}

using enum TstFileStorageOverwrite;
INSTANTIATE_TEST_SUITE_P(
    Rules, LoadedOverwrite,
    ::testing::Values(OverwriteCase{"size_differs", owIfSizeDifferent, "older", true},
                      OverwriteCase{"same_size_kept", owIfSizeDifferent, "old", false},
                      OverwriteCase{"missing_written", owIfSizeDifferent, nullptr, true},
                      OverwriteCase{"never_keeps", owNever, "older", false},
                      OverwriteCase{"never_writes_missing", owNever, nullptr, true},
                      OverwriteCase{"always_replaces", owAlways, "old", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreFixture, LoadedDoesNothingUnlessEnabled) {
    Add(L"file.txt", "new");
    store.AutoExtract.ExtractTo.ToplevelDir = TstToplevelDir::tdNone;
    store.AutoExtract.ExtractTo.Subdirectory = Wide(temp.Path()) + L"/";
    store.Loaded();
    EXPECT_FALSE(std::filesystem::exists(temp / "file.txt"));
}

TEST(FileStorage, RemovalOnDestructionDeletesWrittenFilesAndTheFirstFolderWhenEmpty) {
    TempDir temp;
    std::filesystem::create_directories(temp / "first");
    std::filesystem::create_directories(temp / "second");
    WriteFile(temp / "second" / "other", "stays");
    {
        TstFileStorage store;
        auto file = std::make_unique<TStoredFile>(&store);
        file->Data = Text("x");
        file->Size = 1;
        store.Files.push_back(std::move(file));
        store.AutoExtract.Enabled = true;
        store.AutoExtract.RemoveOnTerminate = true;
        EXPECT_TRUE(store.Extract(0, Wide(temp / "first" / "a")));
        EXPECT_TRUE(store.Extract(0, Wide(temp / "second" / "b")));
        EXPECT_EQ(store.ExtractedFilesList.size(), 2u);
    }
    EXPECT_FALSE(std::filesystem::exists(temp / "first"));
    EXPECT_FALSE(std::filesystem::exists(temp / "second" / "b"));
    EXPECT_TRUE(std::filesystem::exists(temp / "second" / "other"));
}

TEST(StoredFile, UploadLoadsAFileAndClearDataEmptiesIt) {
    TempDir temp;
    WriteFile(temp / "dati.bin", "payload");
    TstFileStorage store;
    std::vector<std::wstring> told;
    store.OnUploadError = [&](const std::wstring& message) {
        told.push_back(message);
    };
    TStoredFile file(&store);
    EXPECT_TRUE(file.Upload(Wide(temp / "dati.bin")));
    EXPECT_EQ(file.FileName, L"dati.bin");
    EXPECT_EQ(file.Size, 7u);
    EXPECT_EQ(file.Data, Text("payload"));

    EXPECT_TRUE(told.empty());
    EXPECT_FALSE(file.Upload(Wide(temp / "manca.bin")));
    EXPECT_EQ(told, std::vector<std::wstring>{L"This file can not be uploaded."});
    EXPECT_EQ(file.FileName, L"manca.bin") << "the name changes in any case";

    file.ClearData();
    EXPECT_EQ(file.FileName, L"");
    EXPECT_EQ(file.Size, 0u);
    EXPECT_TRUE(file.Data.empty());
}

} // namespace
} // namespace ludrin::store
