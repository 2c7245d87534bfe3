#pragma once
// Deterministic payload-like content for packer tests and benchmarks: machine code and
// compressed data (every chunk holds all 256 byte values) and text (many values absent).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ludrin::testing {

// Uniform random bytes, like a deflated archive: runs are rare and short.
std::vector<std::uint8_t> CompressedLike(std::size_t size, std::uint64_t seed);

// Random instruction bytes with padding runs (00, CC, 90, FF) of 2 to 300 bytes.
std::vector<std::uint8_t> MachineCodeLike(std::size_t size, std::uint64_t seed);

// ASCII words, lines, indentation and ruler lines: no byte 0, so escape mode.
std::vector<std::uint8_t> TextLike(std::size_t size, std::uint64_t seed);

} // namespace ludrin::testing
