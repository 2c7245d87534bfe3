// LUD.exe of the demo payload: starts Ludrin.exe from its own folder, then ends, as the
// real launcher does.

#include "platform/win32/module_path.hpp"

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring folder = ludrin::win32::ModuleFolder();
    const std::wstring player = folder + L"Ludrin.exe";
    std::wstring commandLine = L"\"" + player + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // The player's working folder is its own, whatever folder the launcher was started in.
    if (!CreateProcessW(player.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
