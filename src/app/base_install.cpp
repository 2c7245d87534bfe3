#include "app/form_main.hpp"
#include "app/operation_messages.hpp"
#include "app/run_folder.hpp"
#include "platform/fs/fs.hpp"
#include "zip/installer_reading.hpp"

#include <cmath>

namespace ludrin::app {
namespace {

// The player's two programs go in only when missing: a running player keeps its files.
constexpr std::size_t kPlayerSlots[] = {kSlotStartProgram, kSlotPlayer};

// Closes the archive on every way out, before the run's folder goes: Windows cannot delete
// a file that is still open.
class ClosedAtExit {
public:
    explicit ClosedAtExit(zip::TZipBaseArchiver& archiver) : archiver_(archiver) {}
    ~ClosedAtExit() {
        try {
            archiver_.CloseArchive();
        } catch (...) {
            // Closing only releases the file; nothing is lost when it complains.
        }
    }
    ClosedAtExit(const ClosedAtExit&) = delete;
    ClosedAtExit& operator=(const ClosedAtExit&) = delete;

private:
    zip::TZipBaseArchiver& archiver_;
};

} // namespace

void TFormMain::btnInstallaBaseClick() {
    HideHelpBalloons();
    const auto layout = Layout();
    // Without every root there is no safe place for the files: never a path at a drive root.
    if (UserTempDir.empty() || UserMyDocuments.empty() || UserDesktopDirectory.empty() ||
        PathBASSDll.empty()) {
        ShowOperationMessage(view_, kBaseFailed);
        return;
    }

    bool installed = false;
    try {
        installed = InstallBase(layout);
    } catch (...) {
        // Whatever went wrong, the user learns that it did.
        installed = false;
    }
    ShowOperationMessage(view_, installed ? kBaseDone : kBaseFailed);
}

bool TFormMain::InstallBase(const InstallationLayout& layout) {
    // The payload archive is written afresh into a folder of this run, never taken from
    // whatever lies in the temporary folder under its name; the folder goes at the end.
    const auto folder = RunFolder::Create(UserTempDir);
    if (!folder) {
        return false;
    }
    const std::wstring archive = folder->FilePath(kPayloadSlots[kSlotPayloadArchive].fileName);
    if (!stFileStorage.Extract(static_cast<std::int32_t>(kSlotPayloadArchive), archive)) {
        return false;
    }

    view_.SetProgress(0);
    const ClosedAtExit closed(Archiver);
    zip::OpenAsInstaller(Archiver, archive);
    Archiver.BaseDir = PathBASSDll;
    Archiver.DialogOwner = view_.NativeWindow();
    zip::ExtractAsInstaller(Archiver);
    // An entry left out (answered Ignore) or a batch ended with Abort is no installation.
    const bool everyEntry = Archiver.LastBatch().Complete();
    Archiver.CloseArchive();

    if (!fs::DirectoryExists(layout.PlayerFolder())) {
        fs::CreateFolder(layout.PlayerFolder());
    }
    bool programs = true;
    for (const std::size_t slot : kPlayerSlots) {
        const std::wstring destination = layout.SlotDestination(slot);
        if (!fs::FileExists(destination)) {
            programs =
                stFileStorage.Extract(static_cast<std::int32_t>(slot), destination) && programs;
        }
    }

    slShellLink.LinkTarget = layout.ShortcutTarget();
    slShellLink.WorkingDirectory = layout.ShortcutWorkingFolder();
    const bool linked = slShellLink.SaveToFile(layout.DesktopShortcut());

    if (!everyEntry || !programs || !linked) {
        return false;
    }
    view_.SetProgress(100);
    return true;
}

void TFormMain::ArchiverOverallProgress(zip::TZipBaseArchiver& /*sender*/, double progress,
                                        zip::TZipProcessOperation /*operation*/,
                                        zip::TZipProgressPhase /*phase*/, bool& /*cancel*/) {
    // Truncated, never rounded up: 99.9 shows 99 until the archive is really done.
    view_.SetProgress(static_cast<int>(std::trunc(progress)));
}

} // namespace ludrin::app
