#pragma once
// A real process whose executable has a chosen file name: a copy of /bin/sleep renamed,
// run as a child until the object goes.

#include <sys/types.h>

#include <filesystem>

namespace ludrin::testing {

class RunningProgram {
public:
    // Copies /bin/sleep into folder under fileName and starts it.
    RunningProgram(const std::filesystem::path& folder, const std::string& fileName);
    ~RunningProgram(); // kills and reaps the child
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    void Stop();

private:
    pid_t pid_ = -1;
};

// Held by every test that starts or looks for player-named processes: CTest runs test
// cases in parallel processes, and one test's "Ludrin.exe" would be seen by another.
class ProcessNameLock {
public:
    ProcessNameLock();
    ~ProcessNameLock();
    ProcessNameLock(const ProcessNameLock&) = delete;
    ProcessNameLock& operator=(const ProcessNameLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace ludrin::testing
