#include "platform/launch/shell_launch.hpp"

#include <windows.h>

#include <shellapi.h>

#include <utility>

namespace ludrin::launch {
namespace {

HANDLE AsHandle(std::intptr_t process) {
    return reinterpret_cast<HANDLE>(process);
}

// Runs the message loop until the process ends, with the owner disabled like the
// owner of a modal dialog: it repaints, but no button can start another operation.
bool PumpUntilSignalled(HANDLE process, HWND owner) {
    const bool disable = owner != nullptr && IsWindowEnabled(owner);
    // A button of the owner that keeps the focus would still take Enter while its window
    // is disabled and start another operation inside this one.
    const HWND focus = GetFocus();
    const bool ownerHadFocus =
        owner != nullptr && focus != nullptr && (focus == owner || IsChild(owner, focus) != FALSE);
    if (ownerHadFocus) {
        SetFocus(nullptr);
    }
    if (disable) {
        EnableWindow(owner, FALSE);
    }
    bool ended = false;
    std::optional<int> quitCode;
    for (;;) {
        const DWORD wait = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
        if (wait != WAIT_OBJECT_0 + 1) {
            break;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quitCode = static_cast<int>(msg.wParam); // handed back to the main loop below
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (disable) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
    if (ownerHadFocus && IsWindow(focus) && IsWindowEnabled(owner)) {
        SetFocus(focus);
    }
    if (quitCode) {
        PostQuitMessage(*quitCode);
    }
    return ended;
}

} // namespace

void LaunchedProcess::Release() {
    if (process_ != 0) {
        CloseHandle(AsHandle(process_));
        process_ = 0;
    }
}

std::optional<std::uint32_t> LaunchedProcess::Wait() {
    if (process_ == 0 || !PumpUntilSignalled(AsHandle(process_), static_cast<HWND>(owner_))) {
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(AsHandle(process_), &code)) {
        return std::nullopt;
    }
    return code;
}

LaunchedProcess ShellLaunch(const ShellLaunchRequest& request) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // A process handle to wait on, and no return before the program has really started.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = static_cast<HWND>(request.owner);
    info.lpVerb = request.verb.c_str();
    info.lpFile = request.file.c_str();
    info.lpParameters = request.parameters.c_str();
    info.lpDirectory = request.folder.c_str();
    info.nShow = request.showCommand;
    if (!ShellExecuteExW(&info) || info.hProcess == nullptr) {
        return {};
    }
    return LaunchedProcess(reinterpret_cast<std::intptr_t>(info.hProcess), request.owner);
}

} // namespace ludrin::launch
