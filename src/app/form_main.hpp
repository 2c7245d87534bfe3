#pragma once
// The main window's state and handlers, written against the view so that every decision
// is made (and tested) here, away from the Win32 shell.

#include "app/form_view.hpp"
#include "app/installation_layout.hpp"
#include "platform/exeinfo/exe_info.hpp"
#include "platform/shelllink/shell_link.hpp"
#include "platform/sysinfo/system_info.hpp"
#include "store/file_storage.hpp"
#include "ui/hints/message_hint.hpp"
#include "ui/hints/message_hint_controller.hpp"
#include "zip/zip_reader.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace ludrin::app {

// The form's buttons, as the window hands their clicks on.
enum class FormButton { Close, InstallBase, InstallComplete, Uninstall, HelpBase, HelpComplete };

// The form button that a control is, if it is one: the window's one map from its controls.
std::optional<FormButton> FormButtonOf(ControlId control);

class TFormMain {
public:
    // Creates the components as the window's resource would: the store reads the
    // payload from the form resource (throws store::EStoreError when it is damaged), the
    // system information retrieves automatically, the version information reads the
    // running executable. An empty form resource gives an empty store. `payloadRead`
    // becomes the store's OnContainerRead before the payload is read.
    explicit TFormMain(FormView& view, std::span<const std::uint8_t> formResource = {},
                       std::function<void(std::span<const std::uint8_t>)> payloadRead = {});

    void FormCreate();
    // Runs a button's handler (button_click.cpp). An exception that escapes it ends the
    // operation with its failure message: the window stays, the process lives on.
    void ButtonClick(FormButton button);
    void btnCloseClick();
    void btnInstallaBaseClick();     // base_install.cpp
    void btnInstallaCompleteClick(); // advanced_install.cpp
    void btnDisinstallaClick();      // uninstall.cpp
    void btnHelpBaseClick();         // help_popups.cpp
    void btnHelpCompleteClick();     // help_popups.cpp
    // The archive reader's overall progress moves the progress bar (base_install.cpp).
    void ArchiverOverallProgress(zip::TZipBaseArchiver& sender, double progress,
                                 zip::TZipProcessOperation operation, zip::TZipProgressPhase phase,
                                 bool& cancel);

    // Closes the help balloons of display order 0, then 1: the first step of every
    // operation and of the close button.
    void HideHelpBalloons();

    InstallationLayout Layout() const;

    // Components owned by the window.
    store::TstFileStorage stFileStorage;
    sysinfo::TSysSystemInfo SysSystemInfo;
    exeinfo::TExeInfo ExeInfo;
    zip::TZipReader Archiver;
    shelllink::TslShellLink slShellLink;
    ui::hints::TMessageHint mhint;
    ui::hints::TMessageHintController MessageHintController;

    // Texts set once by FormCreate.
    std::wstring UserTempDir;
    std::wstring UserMyDocuments;
    std::wstring UserDesktopDirectory;
    // The shared library folder in the roaming AppData, where the ZIP's tree lands.
    std::wstring PathBASSDll;
    std::wstring AnnoAttuale;
    std::wstring TrueBuild;
    std::wstring Build;
    std::wstring VERSIONE;
    std::wstring SoloCopyright;

protected:
    FormView& view_;

private:
    // The balloon component and the two help items as the window's design has them
    // (help_popups.cpp).
    void CreateHelpBalloons();
    // Titles, messages and anchors of the two help items (help_popups.cpp).
    void FillHelpItems();
    // The guarded steps of the base installation: true only when every file is in place.
    bool InstallBase(const InstallationLayout& layout);
};

} // namespace ludrin::app
