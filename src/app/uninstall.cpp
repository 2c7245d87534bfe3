#include "app/form_main.hpp"
#include "app/operation_messages.hpp"
#include "platform/fs/fs.hpp"
#include "platform/process/delete_directory.hpp"
#include "platform/process/process_exists.hpp"

namespace ludrin::app {

void TFormMain::btnDisinstallaClick() {
    HideHelpBalloons();
    if (process::processExists(kPlayerProcessName)) {
        ShowOperationMessage(view_, kUninstallPlayerRunning);
        return;
    }

    const auto layout = Layout();
    const auto& roots = layout.Roots();
    // A root that could not be resolved must not turn a suffix into a path at a drive root
    // (or below the current folder): without all three there is nothing that is ours.
    const bool rootsKnown =
        !roots.MyDocuments.empty() && !roots.AppData.empty() && !roots.DesktopDirectory.empty();
    const bool IsInstalled = rootsKnown && fs::DirectoryExists(layout.PlayerFolder());
    if (!IsInstalled) {
        view_.SetProgress(0);
        ShowOperationMessage(view_, kUninstallNotInstalled);
        return;
    }

    if (ShowOperationMessage(view_, kUninstallConfirm) != kIdYes) {
        return;
    }

    // The player folder goes last: its presence is what says "installed", so a run cut
    // short anywhere before it can be started again and finishes the rest.
    view_.SetProgress(0);
    const auto sharedFolder = layout.SharedLibraryFolder();
    bool sharedFolderToGo = false;
    if (fs::DirectoryExists(sharedFolder)) {
        if (fs::FileExists(layout.SettingsFile())) {
            fs::RemoveFile(layout.SettingsFile());
        }
        // The sibling module belongs to another product that shares the folder.
        if (!fs::FileExists(layout.SiblingModule())) {
            sharedFolderToGo = true;
            process::DeleteDirectory(sharedFolder);
        }
    }
    view_.SetProgress(30);

    if (fs::FileExists(layout.DesktopShortcut())) {
        fs::RemoveFile(layout.DesktopShortcut());
    }
    view_.SetProgress(60);

    const auto playerFolder = layout.PlayerFolder();
    if (fs::DirectoryExists(playerFolder)) {
        process::DeleteDirectory(playerFolder);
    }
    view_.SetProgress(100);

    // Removals report nothing, so look at what is left rather than claim success.
    const bool leftBehind = fs::DirectoryExists(playerFolder) ||
                            fs::FileExists(layout.SettingsFile()) ||
                            (sharedFolderToGo && fs::DirectoryExists(sharedFolder)) ||
                            fs::FileExists(layout.DesktopShortcut());
    ShowOperationMessage(view_, leftBehind ? kUninstallIncomplete : kUninstallDone);
}

} // namespace ludrin::app
