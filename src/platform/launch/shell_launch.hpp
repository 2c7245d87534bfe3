#pragma once
// Starting a program the way the shell does (with a verb such as "runas", which asks for
// administrative rights), and waiting for it to end.

#include <cstdint>
#include <optional>
#include <string>

namespace ludrin::launch {

struct ShellLaunchRequest {
    void* owner = nullptr; // the window that owns the consent prompt and waits (Win32: HWND)
    std::wstring verb;     // "runas": elevated
    std::wstring file;     // the bare file name, found in `folder`
    std::wstring parameters;
    std::wstring folder;
    int showCommand = 0; // hidden
};

class LaunchedProcess {
public:
    LaunchedProcess() = default;
    LaunchedProcess(std::intptr_t process, void* owner) : process_(process), owner_(owner) {}
    ~LaunchedProcess();
    LaunchedProcess(LaunchedProcess&& other) noexcept;
    LaunchedProcess& operator=(LaunchedProcess&& other) noexcept;
    LaunchedProcess(const LaunchedProcess&) = delete;
    LaunchedProcess& operator=(const LaunchedProcess&) = delete;

    // False when the program could not be started or the user refused the consent prompt.
    bool Started() const { return process_ != 0; }

    // Waits until the program ends and gives its exit code; nothing when it cannot be
    // awaited. The owner window keeps painting meanwhile but takes no input, as under a
    // modal dialog.
    std::optional<std::uint32_t> Wait();

private:
    void Release();

    std::intptr_t process_ = 0; // Win32: process handle; POSIX: process id
    void* owner_ = nullptr;
};

LaunchedProcess ShellLaunch(const ShellLaunchRequest& request);

} // namespace ludrin::launch
