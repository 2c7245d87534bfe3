#pragma once
// CRC-32 of ZIP archives (the reflected polynomial 0xEDB88320), continued over pieces of any
// size as zlib's crc32() is. Extraction checks every byte it writes and check-zip checks
// every byte again when reading back: on x86-64 processors with carry-less multiply the
// sum is folded 64 bytes at a time, several times faster than zlib's tables.

#include <cstdint>
#include <span>

namespace ludrin::hash {

// The CRC-32 of everything before (`crc`, 0 to start) followed by `bytes`.
std::uint32_t Crc32(std::uint32_t crc, std::span<const std::uint8_t> bytes);

} // namespace ludrin::hash
