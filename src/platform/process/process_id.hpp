#pragma once
// Processes by their id: this one's, and whether one still runs. Folders named after the
// process that made them are left alone for as long as it may still use them.

#include <cstdint>

namespace ludrin::process {

std::uint32_t CurrentProcessId();

// False only when no process of that id exists now. A process that cannot be asked (another
// user's, say) counts as running: a wrong "no" would take what a live process uses.
bool ProcessIdRunning(std::uint32_t id);

} // namespace ludrin::process
