#include "platform/process/process_exists.hpp"

#include "platform/win32/unique_handle.hpp"

#include <windows.h>

#include <tlhelp32.h>

#include <cwchar>

namespace ludrin::process {

bool processExists(std::wstring exeFileName) {
    const win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return false;
    }
    PROCESSENTRY32W entry{};
    // The structure's own size for this build (568 in 64 bits), or the first step fails.
    entry.dwSize = sizeof(PROCESSENTRY32W);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        const std::wstring_view executable(entry.szExeFile,
                                           wcsnlen(entry.szExeFile, std::size(entry.szExeFile)));
        found = ExecutableNameMatches(executable, exeFileName, L"\\:") || found;
    }
    return found;
}

} // namespace ludrin::process
