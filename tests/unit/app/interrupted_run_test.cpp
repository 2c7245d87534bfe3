// Runs ended at named points as kill -9 ends them: each run is a child process that dies
// the moment a write would take any file past a size, or the moment the bar reaches a
// value. Afterwards no file holds part of its content under its final name, and a second
// run (started as the installer starts) completes and leaves nothing of the first behind.

#include "platform/shelllink/shell_link.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "unit/app/operation_test.hpp"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <string>

namespace ludrin::app {
namespace {

namespace stdfs = std::filesystem;
using ludrin::testing::ReadFile;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;

enum class Operation { Base, Advanced, Uninstall };

// The limit on file sizes holds for every file on its own: a row's limit lies between the
// sizes of the files written before its file and the size of its file.
struct CutPoint {
    const char* name;
    Operation operation;
    rlim_t fileSizeLimit;        // the end comes at a write past this offset of any file (0: none)
    int progress;                // the end comes when the bar is set to this (-1: none)
    std::size_t librarySize = 0; // the archive's one library: 0 for a few bytes
};

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kStartProgramSize = 64 * kKiB;
constexpr std::size_t kPlayerSize = 256 * kKiB;
constexpr rlim_t kCodecSizes[] = {64 * kKiB, 128 * kKiB, 256 * kKiB};
// Below the shortcut's size and above every other file a repeated installation writes.
constexpr rlim_t kWithinTheShortcut = 160;

const CutPoint kCutPoints[] = {
    {"payload archive in the run folder", Operation::Base, 64, -1},
    {"start program", Operation::Base, kStartProgramSize / 2, -1},
    {"player program", Operation::Base, kPlayerSize / 2, -1},
    // Deflated, the archive stays far below the cut; the library's own write reaches it.
    {"shared library from the archive", Operation::Base, 12 * kKiB, -1, 24 * kKiB},
    {"shortcut rewritten by a repeated installation", Operation::Base, kWithinTheShortcut, -1},
    {"first codec installer", Operation::Advanced, kCodecSizes[0] / 2, -1},
    {"second codec installer", Operation::Advanced, (kCodecSizes[0] + kCodecSizes[1]) / 2, -1},
    {"third codec installer", Operation::Advanced, (kCodecSizes[1] + kCodecSizes[2]) / 2, -1},
    {"uninstallation after the shared libraries", Operation::Uninstall, 0, 30},
    {"uninstallation after the shortcut", Operation::Uninstall, 0, 60},
};

void KillSelf(int) {
    ::kill(::getpid(), SIGKILL);
}

class InterruptedRunTest : public testing::OperationTest,
                           public ::testing::WithParamInterface<CutPoint> {
protected:
    void SetUp() override {
        ludrin::testing::ZipArchivePlan archive;
        const std::size_t librarySize = GetParam().librarySize;
        library_ = librarySize == 0 ? "library" : std::string(librarySize, 'D');
        archive.entries = {
            ludrin::testing::MakeEntry("brvdll/a.dll", library_, librarySize ? 8 : 0)};
        Store(kSlotPayloadArchive, ludrin::testing::WriteZip(archive));
        Store(kSlotStartProgram, std::string(kStartProgramSize, 'L'));
        Store(kSlotPlayer, std::string(kPlayerSize, 'P'));
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string script = "#!/bin/sh\nexit 0\n";
            Store(3 + i, script + std::string(kCodecSizes[i] - script.size(), '#'));
        }
        shortcut_ = ReferenceShortcut();
    }

    // The shortcut as a whole write gives it, written aside with the same fields.
    std::string ReferenceShortcut() const {
        shelllink::TslShellLink link;
        const auto layout = form_.Layout();
        link.LinkTarget = layout.ShortcutTarget();
        link.WorkingDirectory = layout.ShortcutWorkingFolder();
        const auto aside = home_ / "reference.lnk";
        EXPECT_TRUE(link.SaveToFile(Wide(aside)));
        auto bytes = ReadFile(aside);
        stdfs::remove(aside);
        return bytes;
    }

    static void Run(TFormMain& form, ludrin::testing::RecordingView& view, Operation operation) {
        view.answers = {kIdYes};
        switch (operation) {
        case Operation::Base:
            form.btnInstallaBaseClick();
            break;
        case Operation::Advanced:
            form.btnInstallaCompleteClick();
            break;
        case Operation::Uninstall:
            form.btnDisinstallaClick();
            break;
        }
    }

    // The operation in a child process that ends at the cut point; true when it did.
    bool RunCut(const CutPoint& cut) {
        const pid_t child = ::fork();
        if (child == 0) {
            if (cut.fileSizeLimit != 0) {
                std::signal(SIGXFSZ, KillSelf);
                const rlimit limit{cut.fileSizeLimit, cut.fileSizeLimit};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            view_.onProgress = [&cut](int position) {
                if (position == cut.progress) {
                    KillSelf(0);
                }
            };
            Run(form_, view_, cut.operation);
            ::_exit(0);
        }
        int status = 0;
        return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
               WTERMSIG(status) == SIGKILL;
    }

    // What each final name holds when whole: the operations' files, by name.
    std::map<std::string, std::string> WholeFiles() const {
        std::map<std::string, std::string> whole{{"a.dll", library_}, {"Ludrin 4.lnk", shortcut_}};
        for (std::size_t slot = 0; slot < kPayloadSlotCount; ++slot) {
            const auto& data = form_.stFileStorage.Files[slot]->Data;
            whole[stdfs::path(kPayloadSlots[slot].fileName).string()] =
                std::string(data.begin(), data.end());
        }
        return whole;
    }

    // Every file under the home is whole under its final name; parts only under part names.
    void ExpectNoPartUnderAFinalName(bool partsAllowed) const {
        const auto whole = WholeFiles();
        for (const auto& entry : stdfs::recursive_directory_iterator(home_.Path())) {
            if (!entry.is_regular_file()) {
                continue;
            }
            const auto name = entry.path().filename().string();
            if (name.ends_with(".ludrin-part")) {
                EXPECT_TRUE(partsAllowed) << "left behind: " << entry.path();
                continue;
            }
            const auto expected = whole.find(name);
            ASSERT_NE(expected, whole.end()) << "unexpected file " << entry.path();
            EXPECT_TRUE(ReadFile(entry.path()) == expected->second)
                << entry.path() << " holds " << entry.file_size() << " of "
                << expected->second.size() << " bytes";
        }
    }

    ludrin::testing::ProcessNameLock lock_; // the player check sees no other test's player
    std::string shortcut_;
    std::string library_;
};

TEST_P(InterruptedRunTest, NothingIsLeftHalfWrittenAndASecondRunCompletes) {
    const CutPoint& cut = GetParam();
    if (cut.operation != Operation::Base ||
        cut.fileSizeLimit == kWithinTheShortcut) { // a repeated installation
        form_.btnInstallaBaseClick();
        ExpectOnlyMessage(kBaseDone);
        ASSERT_LT(kWithinTheShortcut * 2, shortcut_.size());
    }
    view_.messages.clear();

    ASSERT_TRUE(RunCut(cut)) << "the run did not end at the cut point";
    ExpectNoPartUnderAFinalName(true);

    // The second run starts as the installer does: a new form in the same user's folders.
    using ludrin::testing::ScopedEnv;
    const ScopedEnv home("HOME", home_.Path().string());
    const ScopedEnv config("XDG_CONFIG_HOME", (home_ / "config").string());
    const ScopedEnv data("XDG_DATA_HOME", (home_ / "AppData").string());
    const ScopedEnv temp("TMPDIR", (home_ / "Temp").string());
    ludrin::testing::RecordingView view;
    TFormMain second(view);
    for (const auto& file : form_.stFileStorage.Files) {
        auto copy = std::make_unique<store::TStoredFile>(*file);
        copy->Owner = &second.stFileStorage;
        second.stFileStorage.Files.push_back(std::move(copy));
    }
    second.FormCreate();
    ASSERT_EQ(second.UserTempDir, Wide(home_ / "Temp") + L"/");
    ASSERT_EQ(second.UserMyDocuments, Wide(home_ / "Documents"));
    ASSERT_EQ(second.UserDesktopDirectory, Wide(home_ / "Desktop"));
    ASSERT_EQ(second.PathBASSDll, Wide(home_ / "AppData"));
    Run(second, view, cut.operation);
    const auto& messages = view.messages;
    ASSERT_FALSE(messages.empty());
    switch (cut.operation) {
    case Operation::Base:
        EXPECT_EQ(messages.back().text, kBaseDone.text);
        EXPECT_EQ(ReadFile(home_ / "Desktop/Ludrin 4.lnk"), shortcut_);
        EXPECT_EQ(ReadFile(home_ / "Documents/Ludrin/Ludrin.exe").size(), kPlayerSize);
        break;
    case Operation::Advanced:
        EXPECT_EQ(messages.back().text, kAdvancedDone.text);
        break;
    case Operation::Uninstall:
        EXPECT_EQ(messages.back().text, kUninstallDone.text);
        EXPECT_EQ(view.progress, (std::vector<int>{0, 30, 60, 100}));
        EXPECT_FALSE(stdfs::exists(home_ / "AppData/brvdll"));
        EXPECT_FALSE(stdfs::exists(home_ / "Documents/Ludrin"));
        EXPECT_FALSE(stdfs::exists(home_ / "Desktop/Ludrin 4.lnk"));
        break;
    }
    ExpectNoPartUnderAFinalName(false);
    ExpectTempFolderEmpty();
}

INSTANTIATE_TEST_SUITE_P(CutPoints, InterruptedRunTest, ::testing::ValuesIn(kCutPoints),
                         [](const ::testing::TestParamInfo<CutPoint>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) {
                                     c = '_';
                                 }
                             }
                             return name;
                         });

} // namespace
} // namespace ludrin::app
