#include "platform/process/process_id.hpp"

#include "platform/win32/unique_handle.hpp"

#include <windows.h>

namespace ludrin::process {

std::uint32_t CurrentProcessId() {
    return GetCurrentProcessId();
}

bool ProcessIdRunning(std::uint32_t id) {
    const win32::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process) {
        // No such process answers "invalid parameter"; any other refusal means it exists.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    // A process that has ended but is still referenced by a handle no longer runs.
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

} // namespace ludrin::process
