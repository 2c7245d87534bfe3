#include "app/form_main.hpp"
#include "app/operation_messages.hpp"
#include "platform/text/utf.hpp"
#include "support/recording_view.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace ludrin::app {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::ProcessNameLock;
using ludrin::testing::RecordingView;
using ludrin::testing::RunningProgram;
using ludrin::testing::TempDir;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

// What a base installation leaves, and neighbours that are not the installer's.
const std::vector<stdfs::path> kInstalled = {
    "Documents/Ludrin/LUD.exe",
    "Documents/Ludrin/Ludrin.exe",
    "Documents/Ludrin/media/clip.avi",
    "AppData/brvdll/LibAV/avcodec.dll",
    "AppData/brvdll/doctotext/resources/res.txt",
    "AppData/brvdll/regset/SettaggiLUD.ini",
    "Desktop/Ludrin 4.lnk",
};
const std::vector<stdfs::path> kNeighbours = {
    "Documents/Ludrin.txt",
    "Documents/Other/Ludrin/keep.txt",
    "AppData/brvdll-old/keep.dll",
    "Desktop/Ludrin 3.lnk",
};

class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_.UserMyDocuments = Wide(home_ / "Documents");
        form_.UserDesktopDirectory = Wide(home_ / "Desktop");
        form_.PathBASSDll = Wide(home_ / "AppData");
        form_.UserTempDir = Wide(home_ / "Temp") + L"/";
        for (const auto& root : {"Documents", "Desktop", "AppData", "Temp"}) {
            stdfs::create_directories(home_ / root);
        }
        for (const auto& path : kNeighbours) {
            WriteFile(home_ / path, "neighbour");
        }
    }

    void Install() {
        for (const auto& path : kInstalled) {
            WriteFile(home_ / path, "installed");
        }
    }

    bool Exists(const stdfs::path& relative) const {
        return stdfs::exists(stdfs::symlink_status(home_ / relative));
    }

    void ExpectMessages(const std::vector<OperationMessage>& expected) const {
        ASSERT_EQ(view_.messages.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(view_.messages[i].text, expected[i].text) << i;
            EXPECT_EQ(view_.messages[i].caption, expected[i].caption) << i;
            EXPECT_EQ(view_.messages[i].flags, expected[i].flags) << i;
        }
    }

    void ExpectAllInstalledPresent() const {
        for (const auto& path : kInstalled) {
            EXPECT_TRUE(Exists(path)) << path;
        }
    }

    void ExpectNeighboursKept() const {
        for (const auto& path : kNeighbours) {
            EXPECT_TRUE(Exists(path)) << path;
        }
    }

    ProcessNameLock lock_; // no player-named process of another test may interfere
    TempDir home_;
    RecordingView view_;
    TFormMain form_{view_};
};

TEST_F(UninstallTest, MessageFlagsAreTheWrittenOnes) {
    EXPECT_EQ(kUninstallPlayerRunning.flags, 0x40030u);
    EXPECT_EQ(kUninstallNotInstalled.flags, 0x40040u);
    EXPECT_EQ(kUninstallConfirm.flags, 0x40024u);
    EXPECT_EQ(kUninstallDone.flags, 0x40040u);
    EXPECT_EQ(kUninstallIncomplete.flags, 0x40030u);
}

TEST_F(UninstallTest, YesRemovesExactlyTheInstalledItemsThenASecondRunFindsNothing) {
    Install();
    view_.answers = {kIdYes};
    form_.btnDisinstallaClick();

    ExpectMessages({kUninstallConfirm, kUninstallDone});
    EXPECT_EQ(view_.progress, (std::vector<int>{0, 30, 60, 100}));
    EXPECT_FALSE(Exists("Documents/Ludrin"));
    EXPECT_FALSE(Exists("AppData/brvdll"));
    EXPECT_FALSE(Exists("Desktop/Ludrin 4.lnk"));
    EXPECT_TRUE(Exists("Documents"));
    EXPECT_TRUE(Exists("AppData"));
    EXPECT_TRUE(Exists("Desktop"));
    ExpectNeighboursKept();

    view_.messages.clear();
    view_.progress.clear();
    form_.btnDisinstallaClick();
    ExpectMessages({kUninstallNotInstalled});
    EXPECT_EQ(view_.progress, (std::vector<int>{0}));
}

TEST_F(UninstallTest, NoLeavesEverythingAndTheBarWhereItWas) {
    Install();
    view_.answers = {kIdNo};
    form_.btnDisinstallaClick();
    ExpectMessages({kUninstallConfirm});
    EXPECT_TRUE(view_.progress.empty());
    ExpectAllInstalledPresent();
    ExpectNeighboursKept();
}

TEST_F(UninstallTest, SiblingModuleKeepsTheSharedFolderButNotTheSettings) {
    Install();
    WriteFile(home_ / "AppData/brvdll/Tarnwell.dll", "sibling");
    view_.answers = {kIdYes};
    form_.btnDisinstallaClick();

    ExpectMessages({kUninstallConfirm, kUninstallDone});
    EXPECT_FALSE(Exists("AppData/brvdll/regset/SettaggiLUD.ini"));
    EXPECT_TRUE(Exists("AppData/brvdll/regset"));
    EXPECT_TRUE(Exists("AppData/brvdll/Tarnwell.dll"));
    EXPECT_TRUE(Exists("AppData/brvdll/LibAV/avcodec.dll"));
    EXPECT_FALSE(Exists("Documents/Ludrin"));
    EXPECT_FALSE(Exists("Desktop/Ludrin 4.lnk"));
}

TEST_F(UninstallTest, WhatCannotBeRemovedStaysAndIsReported) {
    const struct {
        const char* name;
        stdfs::path readOnly;
    } cases[] = {
        {"player file", "Documents/Ludrin/media/clip.avi"},
        {"settings file", "AppData/brvdll/regset/SettaggiLUD.ini"},
        {"shared library", "AppData/brvdll/LibAV/avcodec.dll"},
        {"shortcut", "Desktop/Ludrin 4.lnk"},
    };
    for (const auto& c : cases) {
        Install();
        stdfs::permissions(home_ / c.readOnly, stdfs::perms::owner_read);
        view_.messages.clear();
        view_.progress.clear();
        view_.answers = {kIdYes};
        form_.btnDisinstallaClick();

        ExpectMessages({kUninstallConfirm, kUninstallIncomplete});
        EXPECT_EQ(view_.progress, (std::vector<int>{0, 30, 60, 100})) << c.name;
        EXPECT_TRUE(Exists(c.readOnly)) << c.name;
        stdfs::permissions(home_ / c.readOnly, stdfs::perms::owner_all);
        stdfs::remove_all(home_ / "Documents/Ludrin");
        stdfs::remove_all(home_ / "AppData/brvdll");
        stdfs::remove(home_ / "Desktop/Ludrin 4.lnk");
    }
    // Only the read-only player file was kept in the first case; its neighbours went.
    ExpectNeighboursKept();
}

TEST_F(UninstallTest, AFolderLinkInThePlayerFolderGoesWithoutItsTarget) {
    Install();
    WriteFile(home_ / "Videos/film.avi", "the user's");
    stdfs::create_directory_symlink(home_ / "Videos", home_ / "Documents/Ludrin/Video");
    view_.answers = {kIdYes};
    form_.btnDisinstallaClick();

    ExpectMessages({kUninstallConfirm, kUninstallDone});
    EXPECT_FALSE(Exists("Documents/Ludrin"));
    EXPECT_EQ(ludrin::testing::ReadFile(home_ / "Videos/film.avi"), "the user's");
}

TEST_F(UninstallTest, RefusesWhileAProgramNamedLikeThePlayerRuns) {
    const struct {
        const char* runAs;
        bool refused;
    } cases[] = {
        {"Ludrin.exe", true},
        {"ludrin.EXE", true},
        {"LUDRIN.exe", true},
        {"Ludrin.exe.bak", false},
    };
    Install();
    for (const auto& c : cases) {
        RunningProgram player(home_ / "elsewhere", c.runAs);
        view_.messages.clear();
        view_.progress.clear();
        view_.answers = {kIdNo};
        form_.btnDisinstallaClick();
        if (c.refused) {
            ExpectMessages({kUninstallPlayerRunning});
        } else {
            ExpectMessages({kUninstallConfirm});
        }
        EXPECT_TRUE(view_.progress.empty()) << c.runAs;
        ExpectAllInstalledPresent();
    }
}

TEST_F(UninstallTest, NoPlayerFolderMeansNotInstalledAndNothingRemoved) {
    Install();
    stdfs::remove_all(home_ / "Documents/Ludrin");
    form_.btnDisinstallaClick();
    ExpectMessages({kUninstallNotInstalled});
    EXPECT_EQ(view_.progress, (std::vector<int>{0}));
    EXPECT_TRUE(Exists("AppData/brvdll/regset/SettaggiLUD.ini"));
    EXPECT_TRUE(Exists("Desktop/Ludrin 4.lnk"));
}

TEST_F(UninstallTest, AnUnresolvedRootRemovesNothing) {
    const struct {
        const char* name;
        std::wstring TFormMain::*root;
    } cases[] = {
        {"MyDocuments", &TFormMain::UserMyDocuments},
        {"AppData", &TFormMain::PathBASSDll},
        {"DesktopDirectory", &TFormMain::UserDesktopDirectory},
    };
    Install();
    for (const auto& c : cases) {
        const auto saved = form_.*c.root;
        form_.*c.root = L"";
        view_.messages.clear();
        view_.answers = {kIdYes};
        form_.btnDisinstallaClick();
        ExpectMessages({kUninstallNotInstalled});
        ExpectAllInstalledPresent();
        form_.*c.root = saved;
    }
}

} // namespace
} // namespace ludrin::app
