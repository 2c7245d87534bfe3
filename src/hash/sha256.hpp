#pragma once
// SHA-256, fed in pieces of any size: the release report hashes each stored file while it is
// unpacked, so the whole file never has to be held just to be hashed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ludrin::hash {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
public:
    Sha256() { Reset(); }

    void Reset();
    void Update(std::span<const std::uint8_t> bytes);
    // The digest of everything fed since the last Reset; the hasher starts afresh afterwards.
    Sha256Digest Final();

private:
    void Compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_{};
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t totalBytes_ = 0;
};

// 64 lower-case hexadecimal digits, as sha256sum prints them.
std::string ToHex(const Sha256Digest& digest);

Sha256Digest Sha256Of(std::span<const std::uint8_t> bytes);

} // namespace ludrin::hash
