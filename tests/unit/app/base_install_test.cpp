#include "platform/shelllink/shell_link.hpp"
#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "unit/app/operation_test.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

namespace ludrin::app {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::MakeEntry;
using ludrin::testing::ReadFile;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;
using ludrin::testing::WriteZip;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

ZipEntryPlan Folder(const std::string& name) {
    ZipEntryPlan entry = MakeEntry(name, "", 0);
    entry.externalAttr = 0x10;
    return entry;
}

// The shared library folder's shape: folders (one of them empty), stored and deflated files,
// one larger than an inflate step.
ZipArchivePlan PayloadArchive() {
    ZipArchivePlan spec;
    spec.entries = {
        Folder("brvdll/"),
        Folder("brvdll/regset/"),
        MakeEntry("brvdll/Tarnwell.dll", ludrin::testing::RandomBytes(300000, 1)),
        MakeEntry("brvdll/bass.dll", "MZ small", 0),
        Folder("doctotext/"),
        MakeEntry("doctotext/resources/readme.txt", ludrin::testing::TextBytes(5000, 2)),
    };
    return spec;
}

class BaseInstallTest : public testing::OperationTest {
protected:
    void SetUp() override {
        Store(kSlotPayloadArchive, WriteZip(PayloadArchive()));
        Store(kSlotStartProgram, "start program");
        Store(kSlotPlayer, "player program");
        for (std::size_t slot = 3; slot < kPayloadSlotCount; ++slot) {
            Store(slot, "codec installer");
        }
    }

    // Every entry of the payload archive below AppData, byte for byte.
    void ExpectSharedLibraries() const {
        for (const auto& entry : PayloadArchive().entries) {
            const auto path = home_ / "AppData" / entry.name;
            if (entry.name.ends_with('/')) {
                EXPECT_TRUE(stdfs::is_directory(path)) << entry.name;
            } else {
                EXPECT_EQ(ReadFile(path), entry.data) << entry.name;
            }
        }
    }

    stdfs::path Player() const { return home_ / "Documents" / "Ludrin"; }
    stdfs::path Shortcut() const { return home_ / "Desktop" / "Ludrin 4.lnk"; }
};

TEST_F(BaseInstallTest, InstallsLibrariesProgramsAndShortcut) {
    form_.btnInstallaBaseClick();
    ExpectOnlyMessage(kBaseDone);
    ExpectSharedLibraries();
    EXPECT_TRUE(stdfs::is_directory(home_ / "AppData/brvdll/regset"));
    EXPECT_EQ(ReadFile(Player() / "LUD.exe"), "start program");
    EXPECT_EQ(ReadFile(Player() / "Ludrin.exe"), "player program");

    shelllink::TslShellLink link;
    ASSERT_TRUE(link.LoadFromFile(Wide(Shortcut())));
    EXPECT_EQ(link.LinkTarget, Wide(Player() / "LUD.exe"));
    EXPECT_EQ(link.WorkingDirectory, Wide(Player()));

    ASSERT_GE(view_.progress.size(), 3u);
    EXPECT_EQ(view_.progress.front(), 0);
    EXPECT_EQ(view_.progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(view_.progress.begin(), view_.progress.end()));
    EXPECT_FALSE(form_.Archiver.Active());
    ExpectTempFolderEmpty();
}

TEST_F(BaseInstallTest, ASecondRunKeepsThePlayersProgramsAndRestoresLibraries) {
    form_.btnInstallaBaseClick();
    WriteFile(Player() / "LUD.exe", "changed by the user");
    stdfs::remove(home_ / "AppData/brvdll/Tarnwell.dll");
    stdfs::remove(Player() / "Ludrin.exe");
    view_.messages.clear();

    form_.btnInstallaBaseClick();
    ExpectOnlyMessage(kBaseDone);
    EXPECT_EQ(ReadFile(Player() / "LUD.exe"), "changed by the user");
    EXPECT_EQ(ReadFile(Player() / "Ludrin.exe"), "player program");
    ExpectSharedLibraries();
}

TEST_F(BaseInstallTest, NeverUsesAnArchivePlantedInTheTemporaryFolder) {
    ZipArchivePlan planted;
    planted.entries = {MakeEntry("brvdll/evil.dll", "planted")};
    const std::string plantedBytes = WriteZip(planted);
    WriteFile(home_ / "Temp/brvdll.zip", plantedBytes);

    form_.btnInstallaBaseClick();
    ExpectOnlyMessage(kBaseDone);
    EXPECT_FALSE(stdfs::exists(home_ / "AppData/brvdll/evil.dll"));
    ExpectSharedLibraries();
    EXPECT_EQ(ReadFile(home_ / "Temp/brvdll.zip"), plantedBytes);
}

TEST_F(BaseInstallTest, ProgressIsTruncatedNeverRoundedUp) {
    bool cancel = false;
    for (const double progress : {0.0, 42.99, 99.9, 100.0}) {
        form_.ArchiverOverallProgress(form_.Archiver, progress, zip::TZipProcessOperation{},
                                      zip::TZipProgressPhase::ppProcess, cancel);
    }
    EXPECT_EQ(view_.progress, (std::vector<int>{0, 42, 99, 100}));
    EXPECT_FALSE(cancel);
}

class BaseInstallFailure;

struct FailureCase {
    const char* name;
    void (*arrange)(BaseInstallFailure&);
    bool writesNothing; // refused before anything was written
};

class BaseInstallFailure : public BaseInstallTest,
                           public ::testing::WithParamInterface<FailureCase> {
public:
    using BaseInstallTest::Store;
    void Roots(std::wstring temp, std::wstring documents, std::wstring desktop,
               std::wstring appData) {
        form_.UserTempDir = std::move(temp);
        form_.UserMyDocuments = std::move(documents);
        form_.UserDesktopDirectory = std::move(desktop);
        form_.PathBASSDll = std::move(appData);
    }
    const TFormMain& Form() const { return form_; }
    void TruncateStore(std::size_t count) { form_.stFileStorage.Files.resize(count); }
    void LimitFileSizes(rlim_t bytes) { limit_.emplace(bytes); }
    stdfs::path Home() const { return home_.Path(); }

protected:
    std::optional<testing::FileSizeLimit> limit_;
};

TEST_P(BaseInstallFailure, EndsWithTheFailureMessage) {
    GetParam().arrange(*this);
    form_.btnInstallaBaseClick();
    limit_.reset();
    ExpectOnlyMessage(kBaseFailed);
    EXPECT_FALSE(form_.Archiver.Active());
    EXPECT_TRUE(std::is_sorted(view_.progress.begin(), view_.progress.end()));
    if (GetParam().writesNothing) {
        EXPECT_TRUE(view_.progress.empty());
        EXPECT_TRUE(stdfs::is_empty(home_ / "AppData"));
        EXPECT_TRUE(stdfs::is_empty(home_ / "Documents"));
    }
    if (stdfs::is_directory(home_ / "Temp")) {
        ExpectTempFolderEmpty();
    }
}

ZipArchivePlan WithCorruptEntry() {
    ZipArchivePlan spec = PayloadArchive();
    spec.entries[2].crc = 0x12345678;
    return spec;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BaseInstallFailure,
    ::testing::Values(
        // Without a user to ask, a damaged entry ends the batch with Abort.
        FailureCase{"DamagedEntry",
                    [](auto& t) { t.Store(kSlotPayloadArchive, WriteZip(WithCorruptEntry())); },
                    false},
        FailureCase{"PayloadIsNoArchive",
                    [](auto& t) { t.Store(kSlotPayloadArchive, "not an archive at all"); }, false},
        FailureCase{"ArchiveCannotBeWritten", [](auto& t) { t.LimitFileSizes(64); }, false},
        FailureCase{"StoreLacksThePlayer", [](auto& t) { t.TruncateStore(2); }, false},
        FailureCase{"PlayerProgramCannotBeWritten",
                    [](auto& t) {
                        // A folder where the program goes: not there, and cannot be written.
                        stdfs::create_directories(t.Home() / "Documents/Ludrin/Ludrin.exe");
                    },
                    false},
        FailureCase{"ShortcutCannotBeWritten",
                    [](auto& t) {
                        stdfs::remove(t.Home() / "Desktop");
                        WriteFile(t.Home() / "Desktop", "a file where the folder goes");
                    },
                    false},
        FailureCase{"NoTemporaryFolder",
                    [](auto& t) {
                        t.Roots(L"", t.Form().UserMyDocuments, t.Form().UserDesktopDirectory,
                                t.Form().PathBASSDll);
                    },
                    true},
        FailureCase{"NoDocumentsFolder",
                    [](auto& t) {
                        t.Roots(t.Form().UserTempDir, L"", t.Form().UserDesktopDirectory,
                                t.Form().PathBASSDll);
                    },
                    true},
        FailureCase{"NoDesktopFolder",
                    [](auto& t) {
                        t.Roots(t.Form().UserTempDir, t.Form().UserMyDocuments, L"",
                                t.Form().PathBASSDll);
                    },
                    true},
        FailureCase{"NoAppDataFolder",
                    [](auto& t) {
                        t.Roots(t.Form().UserTempDir, t.Form().UserMyDocuments,
                                t.Form().UserDesktopDirectory, L"");
                    },
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ludrin::app
