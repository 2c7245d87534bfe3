#pragma once
// Drives the real installer from another process: starts it, finds its window and
// controls, reads texts, clicks buttons and answers its message boxes.

#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace ludrin::e2e {

using namespace std::chrono_literals;

struct ControlInfo {
    HWND handle;
    int id;
    std::wstring className;
    std::wstring text;
    RECT rect; // relative to the parent's client area
};

struct MessageBoxInfo {
    HWND handle;
    std::wstring caption;
    std::wstring text;
    HWND owner;
};

// Asks InstallerProcess to start the program without waiting for its main window (a
// damaged installer never shows one).
struct StartOnly {};

class InstallerProcess {
public:
    // Starts the installer; its main window must appear within the timeout.
    explicit InstallerProcess(const std::wstring& exePath, std::chrono::milliseconds timeout = 30s);
    // `arguments` follow the quoted program path as they are.
    InstallerProcess(const std::wstring& exePath, StartOnly, const std::wstring& arguments = {});
    ~InstallerProcess(); // ends the process if it still runs
    InstallerProcess(const InstallerProcess&) = delete;
    InstallerProcess& operator=(const InstallerProcess&) = delete;

    DWORD ProcessId() const { return info_.dwProcessId; }
    HWND MainWindow() const { return mainWindow_; }

    // The exit code once the process has ended within the timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = 20s);

    // The first top-level message box of the process that appears within the timeout.
    std::optional<MessageBoxInfo> WaitForMessageBox(std::chrono::milliseconds timeout = 20s) const;

    // A top-level window of the process with the class (null: any class), if visible.
    HWND FindTopLevel(const wchar_t* className) const;

private:
    void Start(const std::wstring& exePath, const std::wstring& arguments = {});

    PROCESS_INFORMATION info_{};
    HWND mainWindow_ = nullptr;
};

// How a run without a window went: its exit code (none: it did not end within the
// timeout) and whether any visible top-level window of it was seen meanwhile.
struct UnattendedOutcome {
    std::optional<DWORD> exitCode;
    bool windowSeen = false;
};

// Starts the installer with `arguments` and polls its top-level windows until it ends.
UnattendedOutcome RunToExit(const std::wstring& exePath, const std::wstring& arguments,
                            std::chrono::milliseconds timeout = 120s);

// Every descendant of a window, in creation order of each level.
std::vector<ControlInfo> ListControls(HWND root);
HWND FindControl(HWND root, int id);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
RECT RectInParent(HWND window);

// Presses a button the way a mouse click would reach its owner.
void Click(HWND button);
// Closes a message box with the button of that id (IDOK, IDYES, IDNO, ...).
void Answer(const MessageBoxInfo& box, int buttonId);
// Answers, then waits until the box is gone; false when it stayed.
bool AnswerAndWait(const MessageBoxInfo& box, int buttonId);

int ProgressPosition(HWND progressBar);

// Brings the window to the foreground, then types a chord as the keyboard would (SendInput):
// the keys go down in order and come up in reverse, e.g. {VK_MENU, VK_F4}.
void PressKeys(HWND foreground, std::initializer_list<WORD> chord);
// The window that holds the keyboard focus in the window's thread.
HWND FocusOf(HWND window);

// Waits until the window is gone (a message box closed after its answer).
bool WaitUntilClosed(HWND window, std::chrono::milliseconds timeout = 10s);

// The ids of the push buttons of a message box, in creation order.
std::vector<int> MessageBoxButtons(const MessageBoxInfo& box);

} // namespace ludrin::e2e
