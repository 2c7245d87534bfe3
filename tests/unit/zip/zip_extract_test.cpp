// Extraction with the installer's settings on real files: the exact event sequence and
// progress values, failures and their handler, cancellation, hostile names, and the
// options that decide what is written where.

#include "platform/fs/fs.hpp"
#include "unit/zip/extract_test_util.hpp"
#include "zip/zip_error.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <functional>
#include <mutex>
#include <thread>

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::Deflate;
using ludrin::testing::MakeEntry;
using ludrin::testing::RandomBytes;
using ludrin::testing::ReadFile;
using ludrin::testing::TextBytes;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

constexpr std::uint32_t kInstallerAttr = 10431;

ZipEntryPlan Folder(const std::string& name) {
    ZipEntryPlan entry = MakeEntry(name, "", 0);
    entry.externalAttr = 0x10;
    return entry;
}

ZipEntryPlan WithAttr(ZipEntryPlan entry, std::uint32_t attr) {
    entry.externalAttr = attr;
    return entry;
}

class ZipExtractTest : public ::testing::Test {
protected:
    ExtractFixture fx;
    RecordingArchiver archiver;
};

// The overall value while entry `done` (0-based, entries before it finished) is at `share`.
double Overall(double done, double share, double count) {
    return (share + done) / count * 100;
}

TEST_F(ZipExtractTest, BatchFiresEveryEventInOrderWithExactProgress) {
    const std::string stored = TextBytes(100000, 1);
    const std::string big = TextBytes(5 * 1048576 / 2, 2); // 2.5 MiB, highly compressible
    fx.Open(archiver, Entries({Folder("d/"), MakeEntry("d/s.txt", stored, 0),
                               MakeEntry("d/f.txt", TextBytes(1000, 3)), MakeEntry("e0", "", 0),
                               MakeEntry("e1", ""), MakeEntry("big.bin", big)}));
    archiver.ExtractFiles(L"*.*", kInstallerAttr);

    const double n = 6;
    const std::vector<std::string> expected{
        "overall 0 start",
        "confirm d\\",
        "file d\\ 0 start",
        "extract d\\ 10",
        "file d\\ 100 end",
        "confirm d\\s.txt",
        "file d\\s.txt 0 start",
        "extract d\\s.txt 20",
        "file d\\s.txt " + Number(65535.0 / 100000 * 100) + " process",
        "overall " + Number(Overall(1, 65535.0 / 100000, n)) + " process",
        "file d\\s.txt 100 process",
        "overall " + Number(Overall(1, 1, n)) + " process",
        "file d\\s.txt 100 end",
        "confirm d\\f.txt",
        "file d\\f.txt 0 start",
        "extract d\\f.txt 20",
        "file d\\f.txt 0 process",
        "overall " + Number(Overall(2, 0, n)) + " process",
        "file d\\f.txt 100 end",
        "confirm e0",
        "file e0 0 start",
        "extract e0 20",
        "file e0 100 end",
        "confirm e1",
        "file e1 0 start",
        "extract e1 20",
        "file e1 0 process",
        "overall " + Number(Overall(4, 0, n)) + " process",
        "file e1 100 end",
        "confirm big.bin",
        "file big.bin 0 start",
        "extract big.bin 20",
        "file big.bin 0 process",
        "overall " + Number(Overall(5, 0, n)) + " process",
        "file big.bin 40 process",
        "overall " + Number(Overall(5, 0.4, n)) + " process",
        "file big.bin 80 process",
        "overall " + Number(Overall(5, 0.8, n)) + " process",
        "file big.bin 100 end",
        "overall 100 end",
    };
    EXPECT_EQ(archiver.events, expected);
    EXPECT_TRUE(archiver.LastBatch().Complete());
    EXPECT_EQ(archiver.LastBatch().extracted, 6u);
    EXPECT_EQ(ReadFile(fx.base() / "d/s.txt"), stored);
    EXPECT_EQ(ReadFile(fx.base() / "big.bin"), big);
    EXPECT_EQ(ReadFile(fx.base() / "e1"), "");
    EXPECT_EQ(Tree(fx.base()),
              (std::vector<std::string>{"big.bin", "d/", "d/f.txt", "d/s.txt", "e0", "e1"}));
}

TEST_F(ZipExtractTest, OverallProgressNeverFallsAndEndsAtHundred) {
    ZipArchivePlan spec;
    for (int i = 0; i < 40; ++i) {
        const std::string folder = "f" + std::to_string(i % 5) + "/";
        if (i < 5) {
            spec.entries.push_back(Folder(folder));
        }
        spec.entries.push_back(MakeEntry(folder + "lib" + std::to_string(i) + ".dll",
                                         RandomBytes(static_cast<std::size_t>(i) * 7919, i),
                                         i % 3 == 0 ? 0 : 8));
    }
    fx.Open(archiver, spec);
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    ASSERT_FALSE(archiver.overall.empty());
    EXPECT_EQ(archiver.overall.front(), 0);
    EXPECT_EQ(archiver.overall.back(), 100);
    EXPECT_TRUE(std::is_sorted(archiver.overall.begin(), archiver.overall.end()));
    EXPECT_TRUE(archiver.LastBatch().Complete());
}

TEST_F(ZipExtractTest, AnEmptyArchiveFiresOnlyTheBatchEvents) {
    fx.Open(archiver, {});
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(archiver.events, (std::vector<std::string>{"overall 0 start", "overall 100 end"}));
    EXPECT_TRUE(archiver.LastBatch().Complete());
}

ZipEntryPlan Corrupt(const std::string& name) {
    ZipEntryPlan entry = MakeEntry(name, TextBytes(3000, 9));
    entry.crc = 0x12345678;
    return entry;
}

TEST_F(ZipExtractTest, ACorruptEntryLeavesNoFileAndReachesTheHandlerOncePerAttempt) {
    fx.Open(archiver,
            Entries({MakeEntry("a.txt", "a"), Corrupt("bad.txt"), MakeEntry("c.txt", "c")}));
    archiver.answers = {TZipAction::fxaRetry, TZipAction::fxaRetry, TZipAction::fxaIgnore};
    archiver.ExtractFiles(L"*.*", kInstallerAttr);

    EXPECT_EQ(std::count(archiver.events.begin(), archiver.events.end(), "failure bad.txt 8"), 3);
    EXPECT_EQ(std::count(archiver.events.begin(), archiver.events.end(), "confirm bad.txt"), 3);
    ASSERT_EQ(archiver.messages.size(), 3u);
    EXPECT_EQ(archiver.messages[0], "Archiver: Invalid size or check sum of file or unsupported "
                                    "compression format - Native error: 00008");
    EXPECT_EQ(Tree(fx.base()), (std::vector<std::string>{"a.txt", "c.txt"}));
    const ZipBatchResult& batch = archiver.LastBatch();
    EXPECT_EQ(batch.extracted, 2u);
    EXPECT_EQ(batch.failed, 1u);
    EXPECT_FALSE(batch.aborted);
    EXPECT_FALSE(batch.Complete());
    // An ignored entry is not counted as finished: the end is still reported as 100.
    EXPECT_EQ(archiver.events.back(), "overall 100 end");
}

TEST_F(ZipExtractTest, WithoutAHandlerAFailureAbortsTheBatchAndReturnsNormally) {
    fx.Open(archiver,
            Entries({MakeEntry("a.txt", "a"), Corrupt("bad.txt"), MakeEntry("c.txt", "c")}));
    archiver.OnProcessFileFailure = nullptr; // no user interface here: Abort
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(Tree(fx.base()), (std::vector<std::string>{"a.txt"}));
    EXPECT_TRUE(archiver.LastBatch().aborted);
    EXPECT_FALSE(archiver.LastBatch().Complete());
    EXPECT_EQ(archiver.events.back(), "overall 100 end");
}

TEST_F(ZipExtractTest, CancelFromAProgressEventDeletesThePartFileAndReturnsNormally) {
    const std::string big = RandomBytes(3 * 1048576, 5);
    fx.Open(archiver, Entries({MakeEntry("first.txt", "kept"), MakeEntry("big.bin", big, 0),
                               MakeEntry("after.txt", "never")}));
    archiver.OnOverallProgress = [this](TZipBaseArchiver&, double progress, TZipProcessOperation,
                                        TZipProgressPhase phase, bool& cancel) {
        archiver.Log("overall " + Number(progress) + " " + PhaseName(phase));
        // The first process event of the big entry: it is partly written, under its part
        // name only.
        if (phase == TZipProgressPhase::ppProcess && progress > 50 && progress < 60) {
            EXPECT_TRUE(fs::FileExists(Wide(fx.base() / "big.bin.ludrin-part")));
            EXPECT_FALSE(fs::FileExists(Wide(fx.base() / "big.bin")));
            cancel = true;
        }
    };
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(Tree(fx.base()), (std::vector<std::string>{"first.txt"}));
    EXPECT_TRUE(archiver.LastBatch().aborted);
    EXPECT_EQ(archiver.LastBatch().failed, 0u);
    const auto& events = archiver.events;
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[events.size() - 2], "file big.bin 100 end");
    EXPECT_EQ(events.back(), "overall 100 end");
}

TEST_F(ZipExtractTest, CancelAtTheBatchStartFiresNothingElse) {
    fx.Open(archiver, Entries({MakeEntry("a.txt", "a")}));
    archiver.cancelAtEvent = 1;
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(archiver.events, std::vector<std::string>{"overall 0 start"});
    EXPECT_FALSE(std::filesystem::exists(fx.base()));
    EXPECT_TRUE(archiver.LastBatch().aborted);
}

TEST_F(ZipExtractTest, CancelAtAnEntryStartCreatesNoFile) {
    fx.Open(archiver, Entries({MakeEntry("a.txt", "a"), MakeEntry("b.txt", "b")}));
    archiver.cancelAtEvent = 9; // "file b.txt 0 start"
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(archiver.events[8], "file b.txt 0 start");
    EXPECT_EQ(archiver.events.back(), "overall 100 end");
    EXPECT_EQ(Tree(fx.base()), std::vector<std::string>{"a.txt"});
}

TEST_F(ZipExtractTest, HostileNamesFailAsArchiveErrorsAndWriteNothingOutside) {
    const std::vector<std::string> hostile{
        "../evil1.txt", "a/../../evil2.txt", "/abs3.txt", "C:/drive4.txt", "C:drive5.txt",
        "//srv/share/unc6.txt", "a\\..\\..\\evil7.txt", ".. /evil8.txt", "a/.../evil9.txt",
        // Device names: Windows would open the device, not a file below the base folder.
        "CON", "nul.txt", "aux/inner.txt", "Com1 .log", "lpt9"};
    ZipArchivePlan spec = Entries({MakeEntry("safe.txt", "safe")});
    for (const std::string& name : hostile) {
        spec.entries.push_back(MakeEntry(name, "x"));
    }
    spec.entries.push_back(MakeEntry("after.txt", "after"));
    fx.Open(archiver, spec);
    archiver.answers.assign(hostile.size(), TZipAction::fxaIgnore);
    archiver.ExtractFiles(L"*.*", kInstallerAttr);

    EXPECT_EQ(archiver.LastBatch().failed, hostile.size());
    EXPECT_EQ(archiver.LastBatch().extracted, 2u);
    for (const std::string& message : archiver.messages) {
        EXPECT_NE(message.find("Cannot create file"), std::string::npos) << message;
    }
    // The base folder's parent holds only the archive and the base folder.
    EXPECT_EQ(Tree(fx.temp.Path()),
              (std::vector<std::string>{"archive.zip", "out/", "out/after.txt", "out/safe.txt"}));
}

TEST_F(ZipExtractTest, AHandlerCannotRedirectAnEntryOutsideTheBaseFolder) {
    fx.Open(archiver, Entries({MakeEntry("a.txt", "a")}));
    archiver.OnExtractFile = [](TZipBaseArchiver&, std::wstring& name, std::uint32_t&,
                                const std::string&) {
        name = L"..\\escaped.txt";
    };
    archiver.answers = {TZipAction::fxaIgnore};
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(Tree(fx.temp.Path()), std::vector<std::string>{"archive.zip"});
}

TEST_F(ZipExtractTest, AFolderThatCannotBeCreatedIsNativeTwenty) {
    fx.Open(archiver, Entries({MakeEntry("blocked/a.txt", "a")}));
    WriteFile(fx.base() / "blocked", "a file where the folder should be");
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(archiver.events[4], "failure blocked\\a.txt 20");
}

TEST_F(ZipExtractTest, ATargetThatCannotBeCreatedIsNativeNineteen) {
    fx.Open(archiver, Entries({MakeEntry("a.txt", "a")}));
    std::filesystem::create_directories(fx.base() / "a.txt"); // a folder in the way
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    ASSERT_EQ(archiver.messages.size(), 1u);
    EXPECT_NE(archiver.messages[0].find("Cannot create file"), std::string::npos);
    EXPECT_EQ(archiver.events[4], "failure a.txt 19");
}

// A real short write: while it lives, the process may not make files larger than the limit
// (the write stops short with EFBIG instead of a signal).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : oldSignal_(signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &old_);
        struct rlimit limited = old_;
        limited.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit old_ {};
    void (*oldSignal_)(int);
};

TEST_F(ZipExtractTest, AFullDiskIsNativeSixtyFiveForTheFailureHandler) {
    fx.Open(archiver, Entries({MakeEntry("big.bin", RandomBytes(300000, 3))}));
    std::filesystem::create_directories(fx.base());
    {
        const FileSizeLimit limit(65536);
        archiver.ExtractFiles(L"*.*", kInstallerAttr);
    }
    EXPECT_NE(std::find(archiver.events.begin(), archiver.events.end(), "failure big.bin 65"),
              archiver.events.end());
    EXPECT_EQ(archiver.messages.at(0),
              "Disk is full. There is not enough free space on disk. - Native error: 00065");
    EXPECT_EQ(Tree(fx.base()), std::vector<std::string>{});
}

// Whatever ends a replacement early, the file that was there stays whole under its name,
// and no part file is left.
TEST_F(ZipExtractTest, AReplacementThatDoesNotFinishKeepsTheOldFile) {
    struct Case {
        const char* name;
        std::function<ZipEntryPlan()> entry;
        std::function<void(RecordingArchiver&)> arrange;
        std::size_t fileSizeLimit; // 0: none
    };
    const std::string big = RandomBytes(300000, 4);
    const Case cases[] = {
        {"a corrupt entry, aborted", [] { return Corrupt("t.bin"); },
         [](RecordingArchiver& a) { a.answers = {TZipAction::fxaAbort}; }, 0},
        {"a cancel from a progress event", [&] { return MakeEntry("t.bin", big, 0); },
         [](RecordingArchiver& a) { a.cancelAtEvent = 6; }, 0},
        {"a full disk", [&] { return MakeEntry("t.bin", big); },
         [](RecordingArchiver& a) { a.answers = {TZipAction::fxaAbort}; }, 65536},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExtractFixture fixture;
        RecordingArchiver reader;
        fixture.Open(reader, Entries({c.entry()}));
        WriteFile(fixture.base() / "t.bin", "the old file");
        c.arrange(reader);
        if (c.fileSizeLimit != 0) {
            const FileSizeLimit limit(c.fileSizeLimit);
            reader.ExtractFiles(L"*.*", kInstallerAttr);
        } else {
            reader.ExtractFiles(L"*.*", kInstallerAttr);
        }
        EXPECT_FALSE(reader.LastBatch().Complete());
        EXPECT_EQ(ReadFile(fixture.base() / "t.bin"), "the old file");
        EXPECT_EQ(Tree(fixture.base()), std::vector<std::string>{"t.bin"});
    }
}

TEST_F(ZipExtractTest, OnDiskFullCancelEndsTheBatchLikeAProgressCancel) {
    fx.Open(archiver, Entries({MakeEntry("big.bin", RandomBytes(300000, 3)),
                               MakeEntry("after.txt", "after")}));
    std::filesystem::create_directories(fx.base());
    int asked = 0;
    archiver.OnDiskFull = [&](TZipBaseArchiver&, std::int32_t volume, const std::wstring& name,
                              bool& cancel) {
        EXPECT_EQ(volume, 0);
        EXPECT_EQ(name, archiver.FileName);
        cancel = ++asked == 2; // the first answer writes again, the second gives up
    };
    {
        const FileSizeLimit limit(65536);
        archiver.ExtractFiles(L"*.*", kInstallerAttr);
    }
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(archiver.LastBatch().aborted);
    EXPECT_TRUE(archiver.messages.empty());
    EXPECT_EQ(Tree(fx.base()), std::vector<std::string>{});
}

// DOS date-time of 2020-06-15 12:30:00 and of 2021-06-15 12:30:00.
constexpr std::uint16_t kDate2020 = ((2020 - 1980) << 9) | (6 << 5) | 15;
constexpr std::uint16_t kDate2021 = ((2021 - 1980) << 9) | (6 << 5) | 15;
constexpr std::uint16_t kNoon = (12 << 11) | (30 << 5);

std::time_t LocalSeconds(std::uint16_t date, std::uint16_t time) {
    std::tm local{};
    local.tm_year = ((date >> 9) & 0x7F) + 80;
    local.tm_mon = ((date >> 5) & 0x0F) - 1;
    local.tm_mday = date & 0x1F;
    local.tm_hour = time >> 11;
    local.tm_min = (time >> 5) & 0x3F;
    local.tm_sec = (time & 0x1F) * 2;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

void SetMtime(const std::filesystem::path& path, std::time_t seconds) {
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::time_t Mtime(const std::filesystem::path& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    return st.st_mtime;
}

TEST_F(ZipExtractTest, OverwriteModesDecideFromTheTargetAndTheEntryTime) {
    struct Case {
        TZipOverwriteMode mode;
        std::uint16_t targetDate; // the existing file's time; the entry's is 2020-06-15
        bool prompted;            // the answer of the confirm-overwrite handler
        bool replaced;
    };
    const Case cases[] = {
        {TZipOverwriteMode::omAlways, kDate2021, false, true},
        {TZipOverwriteMode::omNever, kDate2020, false, false},
        {TZipOverwriteMode::omIfNewer, kDate2021, false, false}, // target newer: kept
        {TZipOverwriteMode::omIfNewer, kDate2020, false, false}, // same time: kept
        {TZipOverwriteMode::omIfOlder, kDate2021, false, true},
        {TZipOverwriteMode::omIfOlder, kDate2020, false, false},
        {TZipOverwriteMode::omPrompt, kDate2020, true, true},
        {TZipOverwriteMode::omPrompt, kDate2020, false, false},
    };
    ZipEntryPlan entry = MakeEntry("t.txt", "new");
    entry.date = kDate2020;
    entry.time = kNoon;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        ExtractFixture local;
        RecordingArchiver reader;
        local.Open(reader, Entries({entry}));
        WriteFile(local.base() / "t.txt", "old");
        SetMtime(local.base() / "t.txt", LocalSeconds(c.targetDate, kNoon));
        reader.Options.OverwriteMode = c.mode;
        int asked = 0;
        reader.OnConfirmOverwrite = [&](TZipBaseArchiver&, const std::wstring& source,
                                        std::wstring& dest, bool& confirm) {
            ++asked;
            EXPECT_EQ(source, L"t.txt");
            EXPECT_EQ(dest, Wide(local.base() / "t.txt"));
            confirm = c.prompted;
        };
        reader.ExtractFiles(L"*.*", kInstallerAttr);
        EXPECT_EQ(ReadFile(local.base() / "t.txt"), c.replaced ? "new" : "old");
        EXPECT_EQ(asked, c.mode == TZipOverwriteMode::omPrompt ? 1 : 0);
        EXPECT_EQ(reader.LastBatch().Complete(), c.replaced);
    }
}

// A run that made a folder knows it was empty; what it then put there must still be seen:
// a second entry of one name meets the first one's file, a file meets a folder.
TEST_F(ZipExtractTest, WhatThisRunPutIntoANewFolderIsStillInTheWay) {
    const std::string name = "d/t.txt";
    fx.Open(archiver, Entries({MakeEntry(name, "first"), MakeEntry(name, "second"), Folder("d/x/"),
                               MakeEntry("d/x", "file")}));
    archiver.Options.OverwriteMode = TZipOverwriteMode::omNever;
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(ReadFile(fx.base() / "d/t.txt"), "first");
    EXPECT_EQ(archiver.LastBatch().skipped, 1u);
    // The file that meets a folder fails before any of its progress.
    const auto failure =
        std::find(archiver.events.begin(), archiver.events.end(), "failure d\\x 19");
    ASSERT_NE(failure, archiver.events.end()) << ::testing::PrintToString(archiver.events);
    EXPECT_EQ(*(failure - 1), "extract d\\x 20");
}

TEST_F(ZipExtractTest, OmIfNewerReplacesAnOlderTarget) {
    ZipEntryPlan entry = MakeEntry("t.txt", "new");
    entry.date = kDate2021;
    entry.time = kNoon;
    fx.Open(archiver, Entries({entry}));
    WriteFile(fx.base() / "t.txt", "old");
    SetMtime(fx.base() / "t.txt", LocalSeconds(kDate2020, kNoon));
    archiver.Options.OverwriteMode = TZipOverwriteMode::omIfNewer;
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(ReadFile(fx.base() / "t.txt"), "new");
}

TEST_F(ZipExtractTest, ReplaceReadOnlyDecidesWhetherAWriteProtectedTargetIsReplaced) {
    for (const bool replace : {true, false}) {
        ExtractFixture local;
        RecordingArchiver reader;
        local.Open(reader, Entries({MakeEntry("ro.txt", "new")}));
        WriteFile(local.base() / "ro.txt", "old");
        ASSERT_TRUE(fs::SetAttributes(Wide(local.base() / "ro.txt"), 0x1));
        reader.Options.ReplaceReadOnly = replace;
        reader.ExtractFiles(L"*.*", kInstallerAttr);
        EXPECT_EQ(ReadFile(local.base() / "ro.txt"), replace ? "new" : "old");
        EXPECT_EQ(reader.LastBatch().skipped, replace ? 0u : 1u);
        EXPECT_TRUE(reader.messages.empty());
    }
}

TEST_F(ZipExtractTest, FilesGetTheEntryTimeAsLocalTimeAndItsReadOnlyBit) {
    ZipEntryPlan entry = WithAttr(MakeEntry("sub/ro.txt", "data"), 0x21);
    entry.date = kDate2021;
    entry.time = kNoon | 7; // 14 seconds
    fx.Open(archiver, Entries({entry, MakeEntry("rw.txt", "rw")}));
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(Mtime(fx.base() / "sub/ro.txt"), LocalSeconds(kDate2021, kNoon | 7));
    EXPECT_EQ(fs::GetAttributes(Wide(fx.base() / "sub/ro.txt")).value_or(0) & 0x1, 0x1u);
    EXPECT_EQ(fs::GetAttributes(Wide(fx.base() / "rw.txt")).value_or(0) & 0x1, 0x0u);
    // A second run replaces the write-protected file (ReplaceReadOnly is on by default).
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_TRUE(archiver.LastBatch().Complete());
}

TEST_F(ZipExtractTest, CreateDirsOffPutsEveryFileInTheBaseFolder) {
    fx.Open(archiver, Entries({Folder("a/"), MakeEntry("a/b/c.txt", "c")}));
    archiver.Options.CreateDirs = false;
    std::filesystem::create_directories(fx.base());
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(Tree(fx.base()), std::vector<std::string>{"c.txt"});
}

struct SelectionCase {
    const wchar_t* mask;
    std::uint32_t attr;
    const wchar_t* exclusion;
    bool recurse;
    std::vector<std::string> selected;
};

class ZipSelectionTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(ZipSelectionTest, SelectsTheEntriesOfMaskAttributesExclusionAndRecursion) {
    const SelectionCase& c = GetParam();
    ExtractFixture fx;
    RecordingArchiver archiver;
    fx.Open(archiver, Entries({Folder("dir/"), MakeEntry("dir/Read.TXT", "1"),
                               MakeEntry("dir/sub/deep.bin", "2"), MakeEntry("top.txt", "3"),
                               MakeEntry("noext", "4"), WithAttr(MakeEntry("hid.dat", "5"), 0x22),
                               WithAttr(MakeEntry("sys.dat", "6"), 0x24),
                               WithAttr(MakeEntry("ro.dat", "7"), 0x21)}));
    archiver.Options.Recurse = c.recurse;
    archiver.ExtractFiles(c.mask, c.attr, c.exclusion);
    std::vector<std::string> extracted;
    for (const std::string& line : archiver.events) {
        if (line.rfind("confirm ", 0) == 0) {
            extracted.push_back(line.substr(8));
        }
    }
    EXPECT_EQ(extracted, c.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, ZipSelectionTest,
    ::testing::Values(
        SelectionCase{L"*.*",
                      kInstallerAttr,
                      L"",
                      true,
                      {"dir\\", "dir\\Read.TXT", "dir\\sub\\deep.bin", "top.txt", "noext",
                       "hid.dat", "sys.dat", "ro.dat"}},
        SelectionCase{L"*",
                      kInstallerAttr,
                      L"",
                      true,
                      {"dir\\", "dir\\Read.TXT", "dir\\sub\\deep.bin", "top.txt", "noext",
                       "hid.dat", "sys.dat", "ro.dat"}},
        // Archive only: no folder, nothing hidden or system; read-only is not tested.
        SelectionCase{L"*.*",
                      0x20,
                      L"",
                      true,
                      {"dir\\Read.TXT", "dir\\sub\\deep.bin", "top.txt", "noext", "ro.dat"}},
        SelectionCase{L"*.*",
                      kInstallerAttr,
                      L"*.txt",
                      true,
                      {"dir\\", "dir\\sub\\deep.bin", "noext", "hid.dat", "sys.dat", "ro.dat"}},
        SelectionCase{L"*.", kInstallerAttr, L"", true, {"dir\\", "noext"}},
        SelectionCase{L"*.txt", kInstallerAttr, L"", true, {"dir\\Read.TXT", "top.txt"}},
        SelectionCase{L"?op.*", kInstallerAttr, L"", true, {"top.txt"}},
        // Without recursion only the mask's own folder.
        SelectionCase{L"*.*",
                      kInstallerAttr,
                      L"",
                      false,
                      {"dir\\", "top.txt", "noext", "hid.dat", "sys.dat", "ro.dat"}},
        SelectionCase{L"dir\\*.txt", kInstallerAttr, L"", false, {"dir\\Read.TXT"}},
        // A plain name without recursion: the hashed index, case-insensitive.
        SelectionCase{L"DIR/read.txt", kInstallerAttr, L"", false, {"dir\\Read.TXT"}},
        SelectionCase{L"missing.txt", kInstallerAttr, L"", false, {}}));

TEST_F(ZipExtractTest, SingleModeExtractsOneEntryWithACountOfOne) {
    fx.Open(archiver, Entries({MakeEntry("a.txt", "a"), MakeEntry("b.txt", "b")}));
    archiver.Options.Recurse = false;
    archiver.ExtractFiles(L"B.TXT", kInstallerAttr);
    EXPECT_EQ(Tree(fx.base()), std::vector<std::string>{"b.txt"});
    EXPECT_EQ(archiver.LastBatch().tagged, 1u);
    EXPECT_EQ(archiver.overall, (std::vector<double>{0, 0, 100}));
}

TEST_F(ZipExtractTest, EmptyBaseDirUsesTheWorkingFolderOfTheFirstExtraction) {
    fx.Open(archiver, Entries({MakeEntry("here.txt", "h")}));
    archiver.BaseDir.clear();
    const auto previous = std::filesystem::current_path();
    std::filesystem::create_directories(fx.temp / "first");
    std::filesystem::create_directories(fx.temp / "second");
    std::filesystem::current_path(fx.temp / "first");
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    std::filesystem::remove(fx.temp / "first/here.txt");
    std::filesystem::current_path(fx.temp / "second");
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::exists(fx.temp / "first/here.txt"));
    EXPECT_FALSE(std::filesystem::exists(fx.temp / "second/here.txt"));
}

TEST_F(ZipExtractTest, DeclinedEntriesAreSkippedWithoutAnError) {
    fx.Open(archiver, Entries({MakeEntry("a.txt", "a"), MakeEntry("b.txt", "b")}));
    archiver.OnConfirmProcessFile = [](TZipBaseArchiver&, const std::wstring& name,
                                       TZipProcessOperation operation, bool& confirm) {
        EXPECT_EQ(operation, TZipProcessOperation::poExtract);
        confirm = name != L"a.txt";
    };
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(Tree(fx.base()), std::vector<std::string>{"b.txt"});
    EXPECT_EQ(archiver.LastBatch().skipped, 1u);
    EXPECT_FALSE(archiver.LastBatch().Complete());
}

TEST_F(ZipExtractTest, AnEncryptedEntryWithoutAPasswordIsSkippedAndLeavesNoFile) {
    ZipEntryPlan secret = MakeEntry("secret.txt", "hidden");
    secret.password = "pw";
    fx.Open(archiver, Entries({secret, MakeEntry("open.txt", "o")}));
    archiver.ExtractFiles(L"*.*", kInstallerAttr); // the default prompt answers Cancel here
    EXPECT_EQ(Tree(fx.base()), std::vector<std::string>{"open.txt"});
    EXPECT_EQ(archiver.LastBatch().skipped, 1u);

    archiver.OnPassword = [](TZipBaseArchiver&, const std::wstring& name, std::string& password,
                             bool& skip) {
        EXPECT_EQ(name, L"secret.txt");
        password = "pw";
        skip = false;
    };
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_EQ(ReadFile(fx.base() / "secret.txt"), "hidden");
    EXPECT_TRUE(archiver.LastBatch().Complete());
}

TEST_F(ZipExtractTest, ExtractCorruptedFilesKeepsTheDamagedFileWithoutAnError) {
    fx.Open(archiver, Entries({Corrupt("bad.txt")}));
    archiver.ExtractCorruptedFiles = true;
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_TRUE(archiver.messages.empty());
    EXPECT_EQ(ReadFile(fx.base() / "bad.txt"), TextBytes(3000, 9));
    EXPECT_EQ(archiver.LastBatch().failed, 1u); // kept, but not verified
}

TEST_F(ZipExtractTest, AnExceptionFromAHandlerLeavesAtOnceAfterDeletingTheTarget) {
    fx.Open(archiver, Entries({MakeEntry("big.bin", RandomBytes(200000, 1), 0),
                               MakeEntry("after.txt", "a")}));
    archiver.OnFileProgress = [](TZipBaseArchiver&, const std::wstring&, double,
                                 TZipProcessOperation, TZipProgressPhase phase, bool&) {
        if (phase == TZipProgressPhase::ppProcess) {
            throw std::runtime_error("handler failed");
        }
    };
    EXPECT_THROW(archiver.ExtractFiles(L"*.*", kInstallerAttr), std::runtime_error);
    EXPECT_EQ(Tree(fx.base()), std::vector<std::string>{});
    // The lock was released: the next batch runs.
    archiver.OnFileProgress = nullptr;
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    EXPECT_TRUE(archiver.LastBatch().Complete());
}

TEST_F(ZipExtractTest, TwoComponentsInTwoThreadsExtractOneBatchAfterTheOther) {
    ExtractFixture otherFx;
    RecordingArchiver other;
    fx.Open(archiver, Entries({MakeEntry("a.txt", "a")}));
    otherFx.Open(other, Entries({MakeEntry("b.txt", "b")}));
    std::mutex lock;
    std::vector<std::string> order;
    const auto note = [&](const std::string& what) {
        const std::lock_guard<std::mutex> guard(lock);
        order.push_back(what);
    };
    std::thread second;
    archiver.OnOverallProgress = [&](TZipBaseArchiver&, double, TZipProcessOperation,
                                     TZipProgressPhase phase, bool&) {
        if (phase == TZipProgressPhase::ppStart) {
            second = std::thread([&] { other.ExtractFiles(L"*.*", kInstallerAttr); });
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            note("first start");
        } else if (phase == TZipProgressPhase::ppEnd) {
            note("first end");
        }
    };
    other.OnOverallProgress = [&](TZipBaseArchiver&, double, TZipProcessOperation,
                                  TZipProgressPhase phase, bool&) {
        if (phase == TZipProgressPhase::ppStart) {
            note("second start");
        }
    };
    archiver.ExtractFiles(L"*.*", kInstallerAttr);
    second.join();
    EXPECT_EQ(order, (std::vector<std::string>{"first start", "first end", "second start"}));
    EXPECT_TRUE(other.LastBatch().Complete());
}

TEST_F(ZipExtractTest, ExtractionNeedsAnOpenArchive) {
    try {
        archiver.ExtractFiles(L"*.*", kInstallerAttr);
        FAIL() << "no exception";
    } catch (const EZipException& error) {
        EXPECT_EQ(error.NativeError(), 13);
        EXPECT_STREQ(error.what(), "Archiver: Archive is not open - Native error: 00013");
    }
}

TEST_F(ZipExtractTest, FindFirstAndFindNextFillTheSearchRecord) {
    ZipEntryPlan entry = WithAttr(MakeEntry("dir/sub/file.txt", TextBytes(4000, 1)), 0x21);
    entry.comment = "note";
    fx.Open(archiver, Entries({Folder("dir/"), entry, MakeEntry("empty", "", 0)}));
    TZipArchiveItem item;
    ASSERT_TRUE(archiver.FindFirst(L"*.txt", item));
    EXPECT_EQ(item.Handle.ItemNo, 1);
    EXPECT_EQ(item.FileName, L"file.txt");
    EXPECT_EQ(item.StoredPath, L"dir\\sub\\");
    EXPECT_EQ(item.UncompressedSize, 4000);
    EXPECT_NEAR(item.CompressionRate, (1.0 - item.CompressedSize / 4000.0) * 100, 1e-9);
    EXPECT_EQ(item.ExternalFileAttributes, 0x21u);
    EXPECT_EQ(item.Comment, "note");
    EXPECT_FALSE(archiver.FindNext(item));
    ASSERT_TRUE(archiver.FindFirst(L"empty", item));
    EXPECT_EQ(item.CompressionRate, 100);
    ASSERT_TRUE(archiver.FindFirst(L"dir", item));
    EXPECT_EQ(item.FileName, L"dir");
    EXPECT_EQ(item.StoredPath, L"");

    archiver.FileMasks = {L"*.txt", L"empty"};
    archiver.ExclusionMasks = {L"dir\\sub\\*"};
    ASSERT_TRUE(archiver.FindFirst(item));
    EXPECT_EQ(item.FileName, L"empty");
}

} // namespace
} // namespace ludrin::zip
