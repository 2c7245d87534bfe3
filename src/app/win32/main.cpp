// The installer's start: safe DLL search, COM for the UI thread, the one main window and
// its message loop.

#include "app/win32/main_window.hpp"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

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

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // Never load a DLL from the installer's own folder or the current folder.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    const ComApartment com;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    ludrin::win32::MainWindow window({});
    if (!window.Create(showCommand)) {
        return 1;
    }
    return RunMessageLoop(window.Handle());
}
