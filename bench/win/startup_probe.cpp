// Starts a Windows program and measures how long it takes from CreateProcessW until the
// program shows a visible top-level window; then leaves it idle, tells a driver outside
// (which reads the process's memory figures) through a marker file, and ends it.
//
//   startup_probe PROGRAM MARKER_DIR [IDLE_MS]
//   startup_probe --base-install PROGRAM
//
// Prints "create_ms=<t> visible_ms=<t>"; the marker file MARKER_DIR\ready appears once
// the window has been idle for IDLE_MS, and the program is ended when MARKER_DIR\done
// appears (or after 30 s).
//
// With --base-install it instead presses the installer's base-installation button once
// the window is visible and times the click until the installer's closing message box
// appears: "base_ms=<t>" and the message's first line. The box is answered and the program
// ended.
//
//   startup_probe --run PROGRAM [ARGS...]
//
// times a program that runs without a window (a peer's silent installation) from
// CreateProcessW to its exit: "run_ms=<t> exit=<code>".

#include "app/main_window_layout.hpp"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The first top-level dialog (message box class) of the process.
BOOL CALLBACK FindMessageBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (owner == search->process && IsWindowVisible(window) && std::wcscmp(name, L"#32770") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Presses the base-installation button and waits for the outcome's message box.
int TimeBaseInstallation(HWND window, const PROCESS_INFORMATION& process) {
    // Controls are children of panels: search the whole tree for the button's id.
    HWND button = nullptr;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            if (GetDlgCtrlID(child) == static_cast<int>(ludrin::app::ControlId::btnInstallaBase)) {
                *reinterpret_cast<HWND*>(param) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&button));
    if (button == nullptr) {
        std::fprintf(stderr, "no base-installation button\n");
        return 1;
    }
    Sleep(500); // let the window settle, as a user would
    LARGE_INTEGER clicked;
    LARGE_INTEGER answered;
    QueryPerformanceCounter(&clicked);
    PostMessageW(button, BM_CLICK, 0, 0);
    Search box{process.dwProcessId, nullptr};
    for (int polls = 0; box.found == nullptr && polls < 300000; ++polls) {
        EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&box));
        if (box.found == nullptr) {
            Sleep(1);
        }
    }
    QueryPerformanceCounter(&answered);
    if (box.found == nullptr) {
        std::fprintf(stderr, "no message box within five minutes\n");
        return 1;
    }
    // The message's text is the box's static control with the longest text.
    std::wstring text;
    EnumChildWindows(
        box.found,
        [](HWND child, LPARAM param) -> BOOL {
            wchar_t buffer[512] = {};
            GetWindowTextW(child, buffer, 512);
            auto* longest = reinterpret_cast<std::wstring*>(param);
            if (std::wcslen(buffer) > longest->size()) {
                *longest = buffer;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    const auto lineEnd = text.find_first_of(L"\r\n");
    std::printf("base_ms=%.2f message=%ls\n", Milliseconds(clicked, answered),
                text.substr(0, lineEnd).c_str());
    std::fflush(stdout);
    PostMessageW(box.found, WM_COMMAND, IDOK, 0);
    return 0;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A peer's silent installation: CreateProcessW to exit, measured as our click is.
int TimeRunToExit(int argc, wchar_t** argv) {
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    for (int i = 3; i < argc; ++i) {
        commandLine += L" ";
        commandLine += argv[i];
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    LARGE_INTEGER ended;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(argv[2], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&ended);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("run_ms=%.2f exit=%lu\n", Milliseconds(start, ended), code);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wcscmp(argv[1], L"--run") == 0) {
        return TimeRunToExit(argc, argv);
    }
    const bool baseInstall = argc == 3 && std::wcscmp(argv[1], L"--base-install") == 0;
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe PROGRAM MARKER_DIR [IDLE_MS]\n"
                             "       startup_probe --base-install PROGRAM\n"
                             "       startup_probe --run PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::wstring program = baseInstall ? argv[2] : argv[1];
    const std::wstring markers = baseInstall ? L"" : argv[2];
    const DWORD idle = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 1000;
    std::wstring commandLine = L"\"" + program + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    LARGE_INTEGER created;
    LARGE_INTEGER visible;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
        return 1;
    }
    QueryPerformanceCounter(&created);
    Search search{process.dwProcessId, nullptr};
    for (int polls = 0; !search.found && polls < 60000; ++polls) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            Sleep(1);
        }
    }
    QueryPerformanceCounter(&visible);
    if (!search.found) {
        std::fprintf(stderr, "no visible window within a minute\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    std::printf("create_ms=%.2f visible_ms=%.2f\n", Milliseconds(start, created),
                Milliseconds(start, visible));
    std::fflush(stdout);

    if (baseInstall) {
        const int code = TimeBaseInstallation(search.found, process);
        Sleep(500);
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }
    Sleep(idle);
    const HANDLE ready = CreateFileW((markers + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(ready);
    for (int waits = 0; waits < 3000 && !Exists(markers + L"\\done"); ++waits) {
        Sleep(10);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
