// The installer's start: safe DLL search, COM for the UI thread, the one main window and
// its message loop.

#include "app/form_texts.hpp"
#include "app/operation_messages.hpp"
#include "app/payload_check.hpp"
#include "app/win32/form_resource_win32.hpp"
#include "app/win32/main_window.hpp"
#include "platform/text/utf.hpp"
#include "store/store_error.hpp"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <string>

namespace {

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

// Exit code of a start refused because the payload is missing or damaged.
constexpr int kExitDamagedPayload = 2;

int ReportDamagedInstaller(const std::wstring& reason) {
    const auto& message = ludrin::app::kDamagedInstaller;
    MessageBoxW(nullptr, ludrin::app::DamagedInstallerText(reason).c_str(), message.caption,
                message.flags);
    return kExitDamagedPayload;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // Never load a DLL from the installer's own folder or the current folder.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    const ComApartment com;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    // The payload is read in place from the mapped image while the window is made; a
    // missing or damaged one ends the start with the error and a failing exit code.
    const auto form = ludrin::win32::FindFormResource(GetModuleHandleW(nullptr));
    if (!form) {
        return ReportDamagedInstaller(L"the form resource TFORMMAIN is missing");
    }
    std::unique_ptr<ludrin::win32::MainWindow> created;
    try {
        created = std::make_unique<ludrin::win32::MainWindow>(*form);
    } catch (const ludrin::store::EStoreError& error) {
        return ReportDamagedInstaller(ludrin::text::Utf8ToWide(error.what()));
    } catch (const std::exception& error) {
        // Out of memory for the unpacked payload, say: still no silent end.
        return ReportDamagedInstaller(ludrin::text::Utf8ToWide(error.what()));
    }
    ludrin::win32::MainWindow& window = *created;
    if (const auto missing = ludrin::app::MissingPayload(*form, window.Form().stFileStorage)) {
        return ReportDamagedInstaller(*missing);
    }
    if (!window.Create(showCommand)) {
        return 1;
    }
    return RunMessageLoop(window.Handle());
}
