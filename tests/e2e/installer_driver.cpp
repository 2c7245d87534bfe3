#include "e2e/installer_driver.hpp"

#include <commctrl.h>

#include <iterator>
#include <stdexcept>
#include <thread>

namespace ludrin::e2e {
namespace {

template <typename Predicate> bool WaitUntil(std::chrono::milliseconds timeout, Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

struct TopLevelSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindTopLevelProc(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && IsWindowVisible(window) &&
        (search->className == nullptr || ClassName(window) == search->className)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    auto* controls = reinterpret_cast<std::vector<ControlInfo>*>(param);
    controls->push_back({window, GetDlgCtrlID(window), ClassName(window), WindowText(window),
                         RectInParent(window)});
    return TRUE;
}

} // namespace

InstallerProcess::InstallerProcess(const std::wstring& exePath, std::chrono::milliseconds timeout) {
    Start(exePath);
    WaitUntil(timeout, [&] {
        mainWindow_ = FindTopLevel(L"TFormMain");
        return mainWindow_ != nullptr || WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
    });
    // The window shows before its last control is made: the tests look once it waits for
    // input, as a user's first click would.
    if (mainWindow_ != nullptr) {
        WaitForInputIdle(info_.hProcess, static_cast<DWORD>(timeout.count()));
    }
}

InstallerProcess::InstallerProcess(const std::wstring& exePath, StartOnly,
                                   const std::wstring& arguments) {
    Start(exePath, arguments);
}

void InstallerProcess::Start(const std::wstring& exePath, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info_)) {
        throw std::runtime_error("cannot start the installer (error " +
                                 std::to_string(GetLastError()) + ")");
    }
}

InstallerProcess::~InstallerProcess() {
    if (info_.hProcess != nullptr) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

std::optional<DWORD> InstallerProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

UnattendedOutcome RunToExit(const std::wstring& exePath, const std::wstring& arguments,
                            std::chrono::milliseconds timeout) {
    InstallerProcess installer(exePath, StartOnly{}, arguments);
    UnattendedOutcome outcome;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!outcome.exitCode && std::chrono::steady_clock::now() < deadline) {
        if (installer.FindTopLevel(nullptr) != nullptr) {
            outcome.windowSeen = true;
        }
        outcome.exitCode = installer.WaitForExit(10ms);
    }
    return outcome;
}

HWND InstallerProcess::FindTopLevel(const wchar_t* className) const {
    TopLevelSearch search{info_.dwProcessId, className, nullptr};
    EnumWindows(FindTopLevelProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::optional<MessageBoxInfo>
InstallerProcess::WaitForMessageBox(std::chrono::milliseconds timeout) const {
    HWND box = nullptr;
    if (!WaitUntil(timeout, [&] { return (box = FindTopLevel(L"#32770")) != nullptr; })) {
        return std::nullopt;
    }
    // The text appears once the box has finished its own layout.
    HWND text = nullptr;
    WaitUntil(2s, [&] { return (text = GetDlgItem(box, 0xFFFF)) != nullptr; });
    return MessageBoxInfo{box, WindowText(box), text ? WindowText(text) : std::wstring(),
                          GetWindow(box, GW_OWNER)};
}

std::vector<ControlInfo> ListControls(HWND root) {
    std::vector<ControlInfo> controls;
    EnumChildWindows(root, CollectChild, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

HWND FindControl(HWND root, int id) {
    for (const auto& control : ListControls(root)) {
        if (control.id == id) {
            return control.handle;
        }
    }
    return nullptr;
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT works across processes, also for controls of another program.
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

RECT RectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void Answer(const MessageBoxInfo& box, int buttonId) {
    PostMessageW(box.handle, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.handle, buttonId)));
    // A modal loop notices that its dialog has ended only at its next message.
    PostMessageW(box.handle, WM_NULL, 0, 0);
}

bool AnswerAndWait(const MessageBoxInfo& box, int buttonId) {
    Answer(box, buttonId);
    return WaitUntilClosed(box.handle);
}

int ProgressPosition(HWND progressBar) {
    return static_cast<int>(SendMessageW(progressBar, PBM_GETPOS, 0, 0));
}

void PressKeys(HWND foreground, std::initializer_list<WORD> chord) {
    SetForegroundWindow(foreground);
    std::vector<INPUT> inputs;
    const auto key = [&inputs](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (const WORD vk : chord) {
        key(vk, false);
    }
    for (auto it = std::rbegin(chord); it != std::rend(chord); ++it) {
        key(*it, true);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // The keys reach the window's queue asynchronously: give its thread time to take them.
    Sleep(300);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) != FALSE
               ? info.hwndFocus
               : nullptr;
}

bool WaitUntilClosed(HWND window, std::chrono::milliseconds timeout) {
    return WaitUntil(timeout, [&] { return !IsWindow(window); });
}

std::vector<int> MessageBoxButtons(const MessageBoxInfo& box) {
    std::vector<int> ids;
    for (const auto& control : ListControls(box.handle)) {
        if (control.className == L"Button" && IsWindowVisible(control.handle)) {
            ids.push_back(control.id);
        }
    }
    return ids;
}

} // namespace ludrin::e2e
