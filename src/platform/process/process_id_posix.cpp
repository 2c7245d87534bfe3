#include "platform/process/process_id.hpp"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace ludrin::process {

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

bool ProcessIdRunning(std::uint32_t id) {
    // Signal 0 only asks; ids beyond pid_t's range name no process.
    const auto pid = static_cast<pid_t>(id);
    if (pid <= 0 || static_cast<std::uint32_t>(pid) != id) {
        return false;
    }
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace ludrin::process
