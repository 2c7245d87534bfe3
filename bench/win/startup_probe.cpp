// Starts a Windows program and measures how long it takes from CreateProcessW until the
// program shows a visible top-level window; then leaves it idle, tells a driver outside
// (which reads the process's memory figures) through a marker file, and ends it.
//
//   startup_probe PROGRAM MARKER_DIR [IDLE_MS]
//
// Prints "create_ms=<t> visible_ms=<t>"; the marker file MARKER_DIR\ready appears once
// the window has been idle for IDLE_MS, and the program is ended when MARKER_DIR\done
// appears (or after 30 s).

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
    DWORD process;
    bool found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == nullptr) {
        search->found = true;
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

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe PROGRAM MARKER_DIR [IDLE_MS]\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const std::wstring markers = argv[2];
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
    Search search{process.dwProcessId, false};
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
