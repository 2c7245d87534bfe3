#pragma once
// Lets go of the resident pages of a stretch of the mapped executable image that has been
// read (the payload, once checked or extracted): they come back from the file if read
// again, so memory stays what is in use, not the size of the payload.

#include <cstdint>
#include <span>

namespace ludrin::win32 {

// Only for bytes of the program's own mapped image: private memory would lose its content.
void ReleaseResidentImagePages(std::span<const std::uint8_t> stretch);

} // namespace ludrin::win32
