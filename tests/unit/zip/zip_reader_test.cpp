// The archive component on real files: opening and its errors, closing, entry decoding
// with the component's events, passwords and a full disk.

#include "unit/zip/zip_test_util.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_run.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::MakeEntry;
using ludrin::testing::TempDir;
using ludrin::testing::TextBytes;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;
using ludrin::testing::WriteZip;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

// The installer's instance; an entry may be decoded as entry `done` of a batch of `count`.
class Archiver : public TZipReader {
public:
    Archiver() { Name = "Archiver"; }
    bool ExtractInBatch(std::size_t index, ZipOutput& out, std::int32_t done, std::int32_t count) {
        ZipRun run(*this, true, count);
        run.processedFileNo = done;
        return run.Extract(index, out);
    }
    bool ProgressCancel() const { return FLastCancelled; }
    bool SkipFile() const { return FLastSkipped; }
};

class ZipReaderTest : public ::testing::Test {
protected:
    std::wstring Write(const std::string& name, const ZipArchivePlan& spec) {
        WriteFile(temp / name, WriteZip(spec));
        return Wide(temp / name);
    }
    TempDir temp;
};

// Output that stores at most `room` bytes in all.
class ShortOutput final : public ZipOutput {
public:
    explicit ShortOutput(std::size_t room) : room_(room) {}
    std::size_t Write(std::span<const std::uint8_t> bytes) override {
        const std::size_t stored = std::min(room_, bytes.size());
        room_ -= stored;
        written += stored;
        return stored;
    }
    std::size_t written = 0;

private:
    std::size_t room_;
};

TEST_F(ZipReaderTest, OpensLoadsClosesAndReopens) {
    ZipArchivePlan spec;
    spec.entries = {MakeEntry("a.txt", "alpha"), MakeEntry("b/c.txt", TextBytes(4000, 1))};
    Archiver archiver;
    int opened = 0;
    archiver.AfterOpen = [&](TZipBaseArchiver& sender) {
        EXPECT_EQ(&sender, &archiver);
        EXPECT_TRUE(sender.Active());
        ++opened;
    };
    archiver.FileName = Write("one.zip", spec);
    archiver.OpenArchive(kOpenModeReadDenyWrite);
    EXPECT_TRUE(archiver.Active());
    EXPECT_EQ(archiver.FileOpenMode(), 0x20);
    ASSERT_EQ(archiver.Count(), 2u);
    EXPECT_EQ(archiver.DMHandle()->CDir[1].Name, L"b/c.txt");
    MemoryZipOutput out;
    EXPECT_TRUE(archiver.ExtractItem(1, out));
    EXPECT_EQ(std::string(out.data.begin(), out.data.end()), spec.entries[1].data);

    // Opening while open closes first.
    spec.entries.pop_back();
    archiver.FileName = Write("two.zip", spec);
    archiver.OpenArchive(kOpenModeReadDenyWrite);
    EXPECT_EQ(archiver.Count(), 1u);
    EXPECT_EQ(opened, 2);
    archiver.CloseArchive();
    EXPECT_FALSE(archiver.Active());
    EXPECT_EQ(archiver.Count(), 0u);
    EXPECT_EQ(archiver.DMHandle(), nullptr);
    archiver.CloseArchive(); // harmless when none is open
}

TEST_F(ZipReaderTest, OpenErrors) {
    ZipArchivePlan spec;
    spec.entries = {MakeEntry("a.txt", "alpha")};
    const std::wstring good = Write("good.zip", spec);
    WriteFile(temp / "noise.zip", std::string(3000, 'n'));
    WriteFile(temp / "setup.exe", WriteZip(spec));
    std::string volume = WriteZip(spec);
    volume.replace(volume.size() - 22 + 4, 2, ludrin::testing::Le16(1)); // disk 1 of a set
    WriteFile(temp / "part.zip", volume);
    const std::string missing = (temp / "missing.zip").string();

    struct Case {
        const char* what;
        std::wstring fileName;
        bool inMemory;
        bool openCorrupted;
        std::int32_t native; // 0: not an archive error
        std::string message;
    };
    const std::vector<Case> cases{
        {"blank name", Wide(temp.Path()) + L"/", false, true, 10,
         "Archiver: File name is blank. Specify appropriate file name - Native error: 00010"},
        {"missing", Wide(temp / "missing.zip"), false, true, 12,
         "Archiver: File \"" + missing + "\" not found - Native error: 00012"},
        {"in memory", good, true, true, 28,
         "Archiver: In-memory archive can be created only - Native error: 00028"},
        {"no local header", Wide(temp / "noise.zip"), false, true, 35,
         "Invalid archive file. - Native error: 00035"},
        {"no end record, strict", Wide(temp / "noise.zip"), false, false, 48,
         "Archiver: Archive is damaged. Open failed - Native error: 00048"},
        {"one volume of several", Wide(temp / "part.zip"), false, true, 44,
         "Cannot open archive file. Opening aborted or invalid file - Native error: 00044"},
        {"self-extractor", Wide(temp / "setup.exe"), false, true, 0, ""},
    };
    for (const Case& c : cases) {
        Archiver archiver;
        archiver.FileName = c.fileName;
        archiver.InMemory = c.inMemory;
        archiver.OpenCorruptedArchives = c.openCorrupted;
        bool afterOpen = false;
        archiver.AfterOpen = [&](TZipBaseArchiver&) {
            afterOpen = true;
        };
        try {
            archiver.OpenArchive(kOpenModeReadDenyWrite);
            ADD_FAILURE() << c.what << ": opened";
        } catch (const EZipException& e) {
            EXPECT_EQ(e.NativeError(), c.native) << c.what;
            EXPECT_EQ(e.what(), c.message) << c.what;
        } catch (const EZipUnsupported& e) {
            EXPECT_EQ(c.native, 0) << c.what << ": " << e.what();
        }
        EXPECT_FALSE(archiver.Active()) << c.what;
        EXPECT_EQ(archiver.Count(), 0u) << c.what;
        EXPECT_FALSE(afterOpen) << c.what;
    }
}

TEST_F(ZipReaderTest, UnreadableFileRaisesTheFileLayersError) {
    Archiver archiver;
    std::filesystem::create_directories(temp / "dir.zip");
    archiver.FileName = Wide(temp / "dir.zip");
    EXPECT_THROW(archiver.OpenArchive(kOpenModeReadDenyWrite), EZipException); // no such file
    WriteFile(temp / "locked.zip", "x");
    std::filesystem::permissions(temp / "locked.zip", std::filesystem::perms::none);
    archiver.FileName = Wide(temp / "locked.zip");
    if (::geteuid() != 0) {
        EXPECT_THROW(archiver.OpenArchive(kOpenModeReadDenyWrite), fs::FileOpenError);
    }
}

TEST_F(ZipReaderTest, ExtractItemRaisesOnlyForFailuresNothingExcuses) {
    ZipArchivePlan spec;
    spec.entries = {MakeEntry("good.txt", "good"), MakeEntry("bad.txt", TextBytes(3000, 2)),
                    MakeEntry("locked.txt", "secret data")};
    spec.entries[1].crc = 7;
    spec.entries[2].password = "pw";
    Archiver archiver;
    archiver.FileName = Write("mixed.zip", spec);
    archiver.OpenArchive(kOpenModeReadDenyWrite);
    MemoryZipOutput out;
    EXPECT_TRUE(archiver.ExtractItem(0, out));
    try {
        archiver.ExtractItem(1, out);
        FAIL();
    } catch (const EZipException& e) {
        EXPECT_EQ(e.NativeError(), 8);
        EXPECT_STREQ(e.what(), "Archiver: Invalid size or check sum of file or unsupported "
                               "compression format - Native error: 00008");
    }
    try {
        archiver.ExtractItem(3, out);
        FAIL();
    } catch (const EZipException& e) {
        EXPECT_EQ(e.NativeError(), 16);
    }
    // No password and no handler: the entry is skipped, which is no error.
    EXPECT_FALSE(archiver.ExtractItem(2, out));
    EXPECT_TRUE(archiver.SkipFile());
    archiver.ExtractCorruptedFiles = true;
    EXPECT_FALSE(archiver.ExtractItem(1, out));

    // The password event gives the password, and the component keeps it.
    archiver.ExtractCorruptedFiles = false;
    std::vector<std::wstring> asked;
    archiver.OnPassword = [&](TZipBaseArchiver&, const std::wstring& name, std::string& password,
                              bool& skip) {
        asked.push_back(name);
        password = "pw";
        skip = false;
    };
    MemoryZipOutput secret;
    EXPECT_TRUE(archiver.ExtractItem(2, secret));
    EXPECT_EQ(std::string(secret.data.begin(), secret.data.end()), "secret data");
    EXPECT_EQ(asked, std::vector<std::wstring>{L"locked.txt"});
    EXPECT_EQ(archiver.GetPassword(), "pw");
}

TEST_F(ZipReaderTest, FullDiskRaisesUnlessTheHandlerCancels) {
    ZipArchivePlan spec;
    spec.entries = {MakeEntry("big.bin", TextBytes(300000, 3), 0)};
    Archiver archiver;
    archiver.FileName = Write("big.zip", spec);
    archiver.OpenArchive(kOpenModeReadDenyWrite);
    ShortOutput full(1000);
    try {
        archiver.ExtractItem(0, full);
        FAIL();
    } catch (const EZipException& e) {
        EXPECT_EQ(e.NativeError(), 65);
    }
    int calls = 0;
    archiver.OnDiskFull = [&](TZipBaseArchiver&, std::int32_t volume, const std::wstring& name,
                              bool& cancel) {
        EXPECT_EQ(volume, 0);
        EXPECT_EQ(name, archiver.FileName);
        cancel = ++calls == 3;
    };
    ShortOutput stillFull(1000);
    EXPECT_FALSE(archiver.ExtractItem(0, stillFull)); // cancelled: no error
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(archiver.ProgressCancel());
    EXPECT_EQ(stillFull.written, 1000u);
}

TEST_F(ZipReaderTest, ProgressEventsWeighEveryEntryEqually) {
    ZipArchivePlan spec;
    spec.entries = {MakeEntry("dir/one.bin", std::string(131070, 'x'), 0)};
    Archiver archiver;
    archiver.FileName = Write("progress.zip", spec);
    archiver.OpenArchive(kOpenModeReadDenyWrite);
    archiver.DMHandle()->CDir[0].Operation = TZipProcessOperation::poExtract;
    std::vector<std::string> events;
    archiver.OnFileProgress = [&](TZipBaseArchiver&, const std::wstring& name, double progress,
                                  TZipProcessOperation op, TZipProgressPhase phase, bool&) {
        EXPECT_EQ(op, TZipProcessOperation::poExtract);
        EXPECT_EQ(phase, TZipProgressPhase::ppProcess);
        events.push_back("file " + Utf8(name) + " " + std::to_string(progress));
    };
    archiver.OnOverallProgress = [&](TZipBaseArchiver&, double progress, TZipProcessOperation,
                                     TZipProgressPhase, bool& cancel) {
        events.push_back("all " + std::to_string(progress));
        cancel = false;
    };
    MemoryZipOutput out;
    EXPECT_TRUE(archiver.ExtractInBatch(0, out, 1, 4));
    const std::vector<std::string> expected{"file dir\\one.bin 50.000000", "all 37.500000",
                                            "file dir\\one.bin 100.000000", "all 50.000000"};
    EXPECT_EQ(events, expected);
}

} // namespace
} // namespace ludrin::zip
