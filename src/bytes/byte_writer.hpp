#pragma once
// Little-endian appends, the byte order of every stored format here, and the one way to
// write a length field before the bytes it measures.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace ludrin::bytes {

// Writes a little-endian value into bytes already there (a field filled in afterwards).
inline void PutU16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}
inline void PutU32(std::uint8_t* at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline void AppendU8(std::vector<std::uint8_t>& out, std::uint8_t value) {
    out.push_back(value);
}
inline void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
inline void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}
inline void AppendU64(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (int shift = 0; shift < 64; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}
inline void AppendBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// A 32-bit length field written before the bytes it counts: reserve it, append the bytes,
// then Close() writes how many were appended behind it. Close() answers false (and writes
// nothing) when they do not fit in 32 bits.
class LengthField {
public:
    explicit LengthField(std::vector<std::uint8_t>& out) : out_(out), at_(out.size()) {
        AppendU32(out_, 0);
    }
    // Where the measured bytes begin.
    std::size_t BodyStart() const { return at_ + 4; }

    bool Close() {
        const std::size_t length = out_.size() - BodyStart();
        if (length > std::numeric_limits<std::uint32_t>::max()) {
            return false;
        }
        PutU32(out_.data() + at_, static_cast<std::uint32_t>(length));
        return true;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::size_t at_;
};

} // namespace ludrin::bytes
