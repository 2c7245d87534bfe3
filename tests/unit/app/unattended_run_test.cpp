#include "app/command_line.hpp"
#include "app/quiet_view.hpp"
#include "app/unattended_run.hpp"
#include "platform/shelllink/shell_link.hpp"
#include "platform/text/utf.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "unit/app/operation_test.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ludrin::app {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::MakeEntry;
using ludrin::testing::ReadFile;
using ludrin::testing::RunningProgram;
using ludrin::testing::Wide;

TEST(CommandLineTest, SwitchesInAnyCaseWithSlashOrDash) {
    using enum FormButton;
    const struct {
        std::vector<std::wstring> arguments;
        std::vector<FormButton> operations;
        bool quiet;
        std::optional<std::wstring> logFile;
        bool usage;
        std::wstring unknown;
    } cases[] = {
        {{}, {}, false, std::nullopt, false, L""},
        {{L"/BASE", L"-Quiet"}, {InstallBase}, true, std::nullopt, false, L""},
        {{L"-uninstall", L"/base", L"/Advanced"},
         {Uninstall, InstallBase, InstallComplete},
         false,
         std::nullopt,
         false,
         L""},
        {{L"/log=C:\\a b\\run.log"}, {}, false, L"C:\\a b\\run.log", false, L""},
        {{L"/LOG=\"C:\\x y.txt\""}, {}, false, L"C:\\x y.txt", false, L""},
        {{L"/log="}, {}, false, std::nullopt, true, L"/log="},
        {{L"/log=\"\""}, {}, false, std::nullopt, true, L"/log=\"\""},
        {{L"/?"}, {}, false, std::nullopt, true, L""},
        {{L"-?", L"/base"}, {InstallBase}, false, std::nullopt, true, L""},
        {{L"/base", L"/silent", L"/x"}, {InstallBase}, false, std::nullopt, true, L"/silent"},
        {{L"base"}, {}, false, std::nullopt, true, L"base"},
        {{L"/"}, {}, false, std::nullopt, true, L"/"},
        {{L"//base"}, {}, false, std::nullopt, true, L"//base"},
        {{L""}, {}, false, std::nullopt, true, L"\"\""},
    };
    for (const auto& c : cases) {
        const auto joined = JoinArguments(c.arguments);
        SCOPED_TRACE(text::WideToUtf8(joined));
        const auto line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.operations, c.operations);
        EXPECT_EQ(line.quiet, c.quiet);
        EXPECT_EQ(line.logFile, c.logFile);
        EXPECT_EQ(line.usage, c.usage);
        EXPECT_EQ(line.unknown, c.unknown);
        EXPECT_EQ(line.Unattended(), !c.arguments.empty());
    }
}

// A quiet run of the real operations on a user's folders in a temporary home, with a log.
class QuietRunTest : public ::testing::Test {
protected:
    // First: no player-named process of another test may interfere, nor this test's player
    // with another test's check.
    ludrin::testing::ProcessNameLock lock_;

    QuietRunTest() {
        for (const auto* root : {"Documents", "Desktop", "AppData", "Temp"}) {
            stdfs::create_directories(home_ / root);
        }
        form_.UserMyDocuments = Wide(home_ / "Documents");
        form_.UserDesktopDirectory = Wide(home_ / "Desktop");
        form_.PathBASSDll = Wide(home_ / "AppData");
        form_.UserTempDir = Wide(home_ / "Temp") + L"/";
        ludrin::testing::ZipArchivePlan archive;
        archive.entries = {MakeEntry("brvdll/bass.dll", "MZ small", 0),
                           MakeEntry("brvdll/Tarnwell.dll", ludrin::testing::TextBytes(5000, 1))};
        testing::StorePayload(form_, kSlotPayloadArchive, ludrin::testing::WriteZip(archive));
        testing::StorePayload(form_, kSlotStartProgram, "start program");
        testing::StorePayload(form_, kSlotPlayer, "player program");
    }

    int Run(std::vector<FormButton> operations) { return run_.Run(form_, operations); }
    bool Exists(const char* path) const { return stdfs::exists(home_ / path); }
    std::string Log() const { return ReadFile(logFile_); }

    ludrin::testing::TempDir home_;
    stdfs::path logFile_ = home_ / "logs" / "run.log";
    RunLog log_{[this] {
        stdfs::create_directories(logFile_.parent_path());
        return std::optional(Wide(logFile_));
    }()};
    UnattendedRun run_{true, log_};
    QuietView view_{run_};
    TFormMain form_{view_};
};

TEST_F(QuietRunTest, InstallsThenUninstallsWithoutAskingThenFindsNothing) {
    ASSERT_TRUE(log_.Opened());
    EXPECT_EQ(Run({FormButton::InstallBase}), kExitSuccess);
    EXPECT_EQ(ReadFile(home_ / "AppData/brvdll/bass.dll"), "MZ small");
    EXPECT_EQ(ReadFile(home_ / "Documents/Ludrin/Ludrin.exe"), "player program");
    shelllink::TslShellLink link;
    EXPECT_TRUE(link.LoadFromFile(Wide(home_ / "Desktop/Ludrin 4.lnk")));
    EXPECT_TRUE(stdfs::is_empty(home_ / "Temp"));

    // The confirmation is the one question answered Yes: the command line gave it.
    EXPECT_EQ(Run({FormButton::Uninstall}), kExitSuccess);
    EXPECT_FALSE(Exists("Documents/Ludrin"));
    EXPECT_FALSE(Exists("Desktop/Ludrin 4.lnk"));
    EXPECT_EQ(Run({FormButton::Uninstall}), kExitNothingToUninstall);

    const std::string log = Log();
    for (const char* expected :
         {"operation /base", "entry brvdll\\bass.dll", "extracted ", "2 of 2 entries extracted",
          // The closing messages in UTF-8, on one line each.
          "message: OK! Ludrin \xC3\xA8 stato Installato Correttamente.", "exit code 0",
          "operation /uninstall", "DISINSTALLER\xC3\x80", "[answer 6]", "exit code 5"}) {
        EXPECT_NE(log.find(expected), std::string::npos) << expected << "\n" << log;
    }
}

TEST_F(QuietRunTest, AFailedOperationStopsTheLineAndSetsTheExitCode) {
    // Nothing installed: the uninstallation finds nothing, the installation never starts.
    EXPECT_EQ(Run({FormButton::Uninstall, FormButton::InstallBase}), kExitNothingToUninstall);
    EXPECT_FALSE(Exists("Documents/Ludrin"));
    EXPECT_EQ(Log().find("operation /base"), std::string::npos);

    // The advanced features need the player.
    EXPECT_EQ(Run({FormButton::InstallComplete}), kExitFailed);
}

TEST_F(QuietRunTest, AnEntryThatCannotBeWrittenIsAbortedAndLoggedWithItsError) {
    // A folder where the library goes: its write fails, and nobody is there to answer.
    stdfs::create_directories(home_ / "AppData/brvdll/bass.dll");
    EXPECT_EQ(Run({FormButton::InstallBase}), kExitFailed);
    const std::string log = Log();
    EXPECT_NE(log.find("error brvdll"), std::string::npos) << log;
    EXPECT_NE(log.find("answer Abort"), std::string::npos) << log;
    EXPECT_NE(log.find("aborted"), std::string::npos) << log;
    EXPECT_NE(log.find("exit code 1"), std::string::npos) << log;
}

TEST_F(QuietRunTest, ARunningPlayerRefusesBothOperationsThatTouchIt) {
    ASSERT_EQ(Run({FormButton::InstallBase}), kExitSuccess);
    const RunningProgram player(home_ / "elsewhere", "Ludrin.exe");
    EXPECT_EQ(Run({FormButton::InstallComplete}), kExitPlayerRunning);
    EXPECT_EQ(Run({FormButton::Uninstall}), kExitPlayerRunning);
    EXPECT_TRUE(Exists("Documents/Ludrin/Ludrin.exe"));
}

} // namespace
} // namespace ludrin::app
