#pragma once
// A real process whose executable has a chosen file name, run until the object goes: a
// copy of /bin/sleep on POSIX, a copy of the test's --waiter program on Windows.

#include <cstdint>
#include <filesystem>

namespace ludrin::testing {

class RunningProgram {
public:
    // Copies the waiting program into folder under fileName and starts it; throws when
    // it cannot.
    RunningProgram(const std::filesystem::path& folder, const std::filesystem::path& fileName);
    ~RunningProgram(); // ends it
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    void Stop();

private:
    std::intptr_t process_ = 0; // POSIX: process id; Windows: process handle
};

// Held by every test that starts or looks for player-named processes: test cases may run
// in parallel processes, and one test's "Ludrin.exe" would be seen by another.
class ProcessNameLock {
public:
    ProcessNameLock();
    ~ProcessNameLock();
    ProcessNameLock(const ProcessNameLock&) = delete;
    ProcessNameLock& operator=(const ProcessNameLock&) = delete;

private:
    std::intptr_t lock_ = 0;
};

} // namespace ludrin::testing
