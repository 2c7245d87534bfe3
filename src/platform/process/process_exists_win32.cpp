#include "platform/process/process_exists.hpp"

#include <windows.h>

#include <tlhelp32.h>

#include <cwchar>

namespace ludrin::process {

bool processExists(std::wstring exeFileName) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    PROCESSENTRY32W entry{};
    // The structure's own size for this build (568 in 64 bits), or the first step fails.
    entry.dwSize = sizeof(PROCESSENTRY32W);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        const std::wstring_view executable(entry.szExeFile,
                                           wcsnlen(entry.szExeFile, std::size(entry.szExeFile)));
        found = ExecutableNameMatches(executable, exeFileName, L"\\:") || found;
    }
    CloseHandle(snapshot);
    return found;
}

} // namespace ludrin::process
