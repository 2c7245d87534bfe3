#include "platform/text/utf.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"
#include "unit/app/operation_test.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>

namespace ludrin::app {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::ProcessNameLock;
using ludrin::testing::ReadFile;
using ludrin::testing::RunningProgram;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

constexpr const char* kLines[] = {
    "LAVFilters-0.75.0-2.exe /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /SP-\n",
    "ffdshow_rev4532_20140717_clsid.exe /SP- /VERYSILENT /NORESTART\n",
    "AviSynth_260.exe /S\n",
};

class AdvancedInstallTest : public testing::OperationTest {
protected:
    void SetUp() override {
        for (std::size_t slot = 0; slot < kPayloadSlotCount; ++slot) {
            Store(slot, "payload " + std::to_string(slot));
        }
        for (std::size_t slot = 3; slot < kPayloadSlotCount; ++slot) {
            Store(slot, Installer(0));
        }
    }

    // A codec installer stand-in: logs its name and parameters, exits with `code`.
    std::string Installer(int code) const {
        return "#!/bin/sh\necho \"$(basename \"$0\") $*\" >> '" + (home_ / "log.txt").string() +
               "'\nexit " + std::to_string(code) + "\n";
    }

    void InstallPlayer() { WriteFile(home_ / "Documents/Ludrin/Ludrin.exe", "player"); }

    std::string Log() const { return ReadFile(home_ / "log.txt"); }

    ProcessNameLock lock_;
};

TEST_F(AdvancedInstallTest, RunsTheThreeInstallersInOrderAndCleansUp) {
    InstallPlayer();
    form_.btnInstallaCompleteClick();
    ExpectOnlyMessage(kAdvancedDone);
    EXPECT_EQ(Log(), std::string(kLines[0]) + kLines[1] + kLines[2]);
    EXPECT_EQ(view_.progress, (std::vector<int>{0, 30, 60, 90, 100}));
    ExpectTempFolderEmpty();
}

TEST_F(AdvancedInstallTest, NeverRunsAFilePlantedInTheTemporaryFolder) {
    InstallPlayer();
    const auto planted = home_ / "Temp/LAVFilters-0.75.0-2.exe";
    WriteFile(planted, "#!/bin/sh\necho PLANTED >> '" + (home_ / "log.txt").string() + "'\n");
    stdfs::permissions(planted, stdfs::perms::owner_all);
    form_.btnInstallaCompleteClick();
    ExpectOnlyMessage(kAdvancedDone);
    EXPECT_EQ(Log().find("PLANTED"), std::string::npos);
    EXPECT_EQ(ReadFile(planted).substr(0, 9), "#!/bin/sh");
    EXPECT_TRUE(stdfs::exists(planted));
}

// Another program swaps an installer right after it is written, before it is held: the
// content no longer matches the store, nothing at all is started, and the run's folder goes.
TEST_F(AdvancedInstallTest, AnInstallerChangedAfterItsWriteIsNeverStarted) {
    InstallPlayer();
    const std::string swapped =
        "#!/bin/sh\necho SWAPPED >> '" + (home_ / "log.txt").string() + "'\n";
    for (const char* victim : {"LAVFilters-0.75.0-2.exe", "AviSynth_260.exe"}) {
        SCOPED_TRACE(victim);
        view_.messages.clear();
        form_.stFileStorage.OnExtracted = [&](void*, const std::wstring& fileName, std::int32_t,
                                              bool written) {
            if (written && stdfs::path(fileName).filename() == victim) {
                WriteFile(stdfs::path(fileName), swapped);
            }
        };
        form_.btnInstallaCompleteClick();
        ExpectOnlyMessage(kAdvancedFailed);
        EXPECT_FALSE(stdfs::exists(home_ / "log.txt")) << Log();
        ExpectTempFolderEmpty();
    }
}

// A temporary folder at a drive root comes without its separator ("C:"): the run's folder
// must still lie inside it, not beside it (or, on Windows, below the current folder).
TEST_F(AdvancedInstallTest, RunsInsideATemporaryFolderGivenWithoutItsSeparator) {
    InstallPlayer();
    form_.UserTempDir = Wide(home_ / "Temp");
    Store(3, "#!/bin/sh\npwd -P > '" + (home_ / "where.txt").string() + "'\n");
    form_.btnInstallaCompleteClick();
    ExpectOnlyMessage(kAdvancedDone);
    auto where = ReadFile(home_ / "where.txt");
    where.erase(where.find_last_not_of('\n') + 1);
    EXPECT_EQ(stdfs::path(where).parent_path(), stdfs::canonical(home_ / "Temp"));
    ExpectTempFolderEmpty();
}

TEST_F(AdvancedInstallTest, RefusesWithoutThePlayerProgram) {
    stdfs::create_directories(home_ / "Documents/Ludrin"); // the folder alone is not enough
    form_.btnInstallaCompleteClick();
    ExpectOnlyMessage(kAdvancedNotInstalled);
    EXPECT_TRUE(view_.progress.empty());
    EXPECT_EQ(Log(), "");
}

TEST_F(AdvancedInstallTest, RefusesWhileThePlayerRuns) {
    InstallPlayer();
    RunningProgram player(home_.Path(), "ludrin.EXE");
    form_.btnInstallaCompleteClick();
    ExpectOnlyMessage(kAdvancedPlayerRunning);
    EXPECT_TRUE(view_.progress.empty());
    EXPECT_EQ(Log(), "");
    ExpectTempFolderEmpty();
}

class AdvancedInstallFailure;

struct FailureCase {
    const char* name;
    void (*arrange)(AdvancedInstallFailure&);
    std::string log; // what the installers that did run wrote
    std::vector<int> progress;
};

class AdvancedInstallFailure : public AdvancedInstallTest,
                               public ::testing::WithParamInterface<FailureCase> {
public:
    using AdvancedInstallTest::Installer;
    using AdvancedInstallTest::Store;
    void SetTempDir(std::wstring tempDir) { form_.UserTempDir = std::move(tempDir); }
    void SetDocuments(std::wstring documents) { form_.UserMyDocuments = std::move(documents); }
    void TruncateStore(std::size_t count) { form_.stFileStorage.Files.resize(count); }
    void LimitFileSizes(rlim_t bytes) { limit_.emplace(bytes); }
    stdfs::path Home() const { return home_.Path(); }

protected:
    std::optional<testing::FileSizeLimit> limit_;
};

TEST_P(AdvancedInstallFailure, EndsWithTheFailureMessage) {
    InstallPlayer();
    GetParam().arrange(*this);
    form_.btnInstallaCompleteClick();
    limit_.reset();
    ExpectOnlyMessage(kAdvancedFailed);
    EXPECT_EQ(Log(), GetParam().log);
    EXPECT_EQ(view_.progress, GetParam().progress);
    if (stdfs::is_directory(home_ / "Temp")) {
        ExpectTempFolderEmpty();
    }
}

const std::string kFirstTwo = std::string(kLines[0]) + kLines[1];

INSTANTIATE_TEST_SUITE_P(
    Cases, AdvancedInstallFailure,
    ::testing::Values(
        // The second installer fails: the third is not started.
        FailureCase{"NonZeroExitCode",
                    [](auto& t) { t.Store(4, t.Installer(1)); },
                    kFirstTwo,
                    {0, 30, 60, 90}},
        FailureCase{"LaunchFails",
                    [](auto& t) { t.Store(5, std::string("\x7F\x01\x02 not a program", 17)); },
                    kFirstTwo,
                    {0, 30, 60, 90}},
        FailureCase{"StoreLacksAnInstaller", [](auto& t) { t.TruncateStore(5); }, "", {0, 30, 60}},
        // The installers are larger than 16 bytes: writing the first one fails.
        FailureCase{"StoreWriteFails", [](auto& t) { t.LimitFileSizes(16); }, "", {0}},
        FailureCase{"TemporaryFolderCannotHoldAFolder",
                    [](auto& t) {
                        WriteFile(t.Home() / "not-a-folder", "file");
                        t.SetTempDir(text::Utf8ToWide((t.Home() / "not-a-folder").string()) + L"/");
                    },
                    "",
                    {0}},
        FailureCase{"NoTemporaryFolder", [](auto& t) { t.SetTempDir(L""); }, "", {}},
        FailureCase{"NoDocumentsFolder", [](auto& t) { t.SetDocuments(L""); }, "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ludrin::app
