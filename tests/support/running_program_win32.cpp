#include "support/running_program.hpp"

#include "support/test_arguments.hpp"

#include <windows.h>

#include <stdexcept>

namespace ludrin::testing {

RunningProgram::RunningProgram(const std::filesystem::path& folder,
                               const std::filesystem::path& fileName) {
    const auto program = (folder / fileName).wstring();
    std::filesystem::create_directories(folder);
    if (!CopyFileW(Argument(L"waiter").c_str(), program.c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the waiting program (--waiter)");
    }
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) {
        throw std::runtime_error("cannot start the waiting program");
    }
    CloseHandle(info.hThread);
    process_ = reinterpret_cast<std::intptr_t>(info.hProcess);
    WaitForInputIdle(info.hProcess, 2000);
}

RunningProgram::~RunningProgram() {
    Stop();
}

void RunningProgram::Stop() {
    if (process_ != 0) {
        const auto process = reinterpret_cast<HANDLE>(process_);
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
        process_ = 0;
    }
}

ProcessNameLock::ProcessNameLock() {
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\ludrin-process-names");
    if (mutex == nullptr || WaitForSingleObject(mutex, INFINITE) == WAIT_FAILED) {
        throw std::runtime_error("cannot take the process-name lock");
    }
    lock_ = reinterpret_cast<std::intptr_t>(mutex);
}

ProcessNameLock::~ProcessNameLock() {
    if (lock_ != 0) {
        ReleaseMutex(reinterpret_cast<HANDLE>(lock_));
        CloseHandle(reinterpret_cast<HANDLE>(lock_));
    }
}

} // namespace ludrin::testing
