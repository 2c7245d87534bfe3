// The installer's start: safe DLL search, COM for the UI thread, the one main window and
// its message loop; or, with switches, the operations of the command line and an exit code.

#include "app/command_line.hpp"
#include "app/form_texts.hpp"
#include "app/operation_messages.hpp"
#include "app/payload_check.hpp"
#include "app/quiet_view.hpp"
#include "app/run_log.hpp"
#include "app/unattended_run.hpp"
#include "app/win32/form_resource_win32.hpp"
#include "app/win32/main_window.hpp"
#include "app/win32/resident_pages_win32.hpp"
#include "platform/text/utf.hpp"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

namespace {

namespace app = ludrin::app;

// Releases COM for the UI thread at the end of the process.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

int RunMessageLoop(HWND window) {
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) {
            return 1;
        }
        if (IsWindow(window) && IsDialogMessageW(window, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// The arguments after the program's name, in UTF-16 whatever the code page.
std::vector<std::wstring> CommandArguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    if (argv != nullptr) {
        for (int i = 1; i < count; ++i) {
            arguments.emplace_back(argv[i]);
        }
        LocalFree(argv);
    }
    return arguments;
}

// What ends a start early: how it is said and logged.
class Start {
public:
    Start(const app::CommandLine& line, app::RunLog& log) : line_(line), log_(log) {}

    int Damaged(const std::wstring& reason) const {
        const auto& message = app::kDamagedInstaller;
        const std::wstring text = app::DamagedInstallerText(reason);
        log_.Line(L"message: " + text);
        if (!line_.quiet) {
            MessageBoxW(nullptr, text.c_str(), message.caption, message.flags);
        }
        return Exit(app::kExitDamagedInstaller);
    }

    int Usage() const {
        std::wstring text = app::kUsageText;
        if (!line_.unknown.empty()) {
            text = L"Opzione sconosciuta: " + line_.unknown + L"\r\n\r\n" + text;
        }
        log_.Line(L"usage: " + text);
        if (!line_.quiet) {
            MessageBoxW(nullptr, text.c_str(), app::kUsageCaption,
                        app::kMbOk | app::kMbIconInformation | app::kMbTopMost);
        }
        return Exit(app::kExitUsage);
    }

    int Exit(int code) const {
        log_.Line(L"exit code " + std::to_wstring(code));
        return code;
    }

private:
    const app::CommandLine& line_;
    app::RunLog& log_;
};

// No window at all: the form's logic with the quiet view, and the same payload checks.
int RunQuietly(std::span<const std::uint8_t> formResource, const app::CommandLine& line,
               const Start& start, app::UnattendedRun& run) {
    app::QuietView view(run);
    std::unique_ptr<app::TFormMain> form;
    try {
        form = std::make_unique<app::TFormMain>(view, formResource,
                                                ludrin::win32::ReleaseResidentImagePages);
    } catch (const std::exception& error) {
        return start.Damaged(ludrin::text::Utf8ToWide(error.what()));
    }
    if (const auto missing = app::MissingPayload(formResource, form->stFileStorage)) {
        return start.Damaged(*missing);
    }
    form->FormCreate();
    return run.Run(*form, line.operations);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // Never load a DLL from the installer's own folder or the current folder.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    const auto arguments = CommandArguments();
    const auto line = app::ParseCommandLine(arguments);
    app::RunLog log(line.logFile);
    log.Line(L"InstallLudrin " + app::JoinArguments(arguments));
    const Start start(line, log);
    if (line.usage) {
        return start.Usage();
    }

    const ComApartment com;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    // The payload is read in place from the mapped image while the window is made; a
    // missing or damaged one ends the start with the error and a failing exit code.
    const auto form = ludrin::win32::FindFormResource(GetModuleHandleW(nullptr));
    if (!form) {
        return start.Damaged(L"the form resource TFORMMAIN is missing");
    }
    app::UnattendedRun run(line.quiet, log);
    if (line.quiet) {
        return RunQuietly(*form, line, start, run);
    }
    std::unique_ptr<ludrin::win32::MainWindow> created;
    try {
        created = std::make_unique<ludrin::win32::MainWindow>(*form);
    } catch (const std::exception& error) {
        // A damaged store, or out of memory for the unpacked payload: still no silent end.
        return start.Damaged(ludrin::text::Utf8ToWide(error.what()));
    }
    ludrin::win32::MainWindow& window = *created;
    if (const auto missing = app::MissingPayload(*form, window.Form().stFileStorage)) {
        return start.Damaged(*missing);
    }
    if (!window.Create(showCommand)) {
        return start.Exit(app::kExitFailed);
    }
    if (!line.operations.empty()) {
        // As if the buttons were pressed in turn, with their messages; then the end.
        window.OnMessageShown = [&run](const std::wstring& text, int answer) {
            run.Shown(text, answer);
        };
        return run.Run(window.Form(), line.operations);
    }
    return RunMessageLoop(window.Handle());
}
