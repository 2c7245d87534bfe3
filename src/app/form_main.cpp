#include "app/form_main.hpp"
#include "zip/installer_reading.hpp"

#include "app/form_texts.hpp"
#include "app/message_flags.hpp"
#include "app/run_folder.hpp"
#include "store/form_stream.hpp"

namespace ludrin::app {

TFormMain::TFormMain(FormView& view, std::span<const std::uint8_t> formResource,
                     std::function<void(std::span<const std::uint8_t>)> payloadRead)
    : stFileStorage(this), mhint(view.Balloons()), view_(view) {
    stFileStorage.OnContainerRead = std::move(payloadRead);
    // The store never shows anything itself; its one message goes through the window.
    stFileStorage.OnUploadError = [this](const std::wstring& text) {
        view_.ShowMessage(text, kApplicationTitle, kMbOk | kMbIconError | kMbTopMost);
    };
    if (!formResource.empty()) {
        store::ReadFormStream(formResource, stFileStorage);
    }
    Archiver.Name = zip::kInstallerReaderName;
    Archiver.OnOverallProgress = [this](zip::TZipBaseArchiver& sender, double progress,
                                        zip::TZipProcessOperation operation,
                                        zip::TZipProgressPhase phase, bool& cancel) {
        ArchiverOverallProgress(sender, progress, operation, phase, cancel);
    };
    SysSystemInfo.AutoRetrieve = true;
    SysSystemInfo.Loaded();
    CreateHelpBalloons();
}

void TFormMain::FormCreate() {
    UserTempDir = SysSystemInfo.Windows.TempDir();
    // What runs that were killed left in the temporary folder goes now.
    RunFolder::RemoveAbandoned(UserTempDir);
    const auto& folders = SysSystemInfo.Windows.SystemFolders();
    UserMyDocuments = folders.Values(L"MyDocuments");
    UserDesktopDirectory = folders.Values(L"DesktopDirectory");
    PathBASSDll = folders.Values(L"AppData");
    AnnoAttuale = CurrentYear();
    SoloCopyright = CopyrightText(AnnoAttuale);

    TrueBuild = ExeInfo.FileVersion;
    const auto version = ComposeVersionTexts(TrueBuild);
    Build = version.Build;
    VERSIONE = version.VERSIONE;
    view_.SetLabelText(FormLabel::LabelVersion, version.Label);
    view_.SetLabelText(FormLabel::LabelTitle, kTitleText);
    view_.SetLabelText(FormLabel::LabelPanelCopyright, SoloCopyright);
    FillHelpItems();
}

void TFormMain::btnCloseClick() {
    // Balloons first, as every operation does: none may outlive the window.
    HideHelpBalloons();
    view_.CloseForm();
}

InstallationLayout TFormMain::Layout() const {
    return InstallationLayout(FolderRoots{UserMyDocuments, UserDesktopDirectory, PathBASSDll});
}

} // namespace ludrin::app
