#pragma once
// The main window's state and handlers, written against the view so that every decision
// is made (and tested) here, away from the Win32 shell.

#include "app/form_view.hpp"
#include "app/installation_layout.hpp"
#include "platform/exeinfo/exe_info.hpp"
#include "platform/sysinfo/system_info.hpp"

#include <string>

namespace ludrin::app {

class TFormMain {
public:
    // Creates the components as the window's resource would: the system information
    // retrieves automatically, the version information reads the running executable.
    explicit TFormMain(FormView& view);

    void FormCreate();
    void btnCloseClick();

    InstallationLayout Layout() const;

    // Components owned by the window.
    sysinfo::TSysSystemInfo SysSystemInfo;
    exeinfo::TExeInfo ExeInfo;

    // Texts set once by FormCreate.
    std::wstring UserTempDir;
    std::wstring UserMyDocuments;
    std::wstring UserDesktopDirectory;
    std::wstring PathBASSDll;
    std::wstring AnnoAttuale;
    std::wstring TrueBuild;
    std::wstring Build;
    std::wstring VERSIONE;
    std::wstring SoloCopyright;

private:
    FormView& view_;
};

} // namespace ludrin::app
