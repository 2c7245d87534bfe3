#pragma once
// A bounded cursor over bytes held in memory: every field read is checked against the end,
// so no reader built on it can step outside its input.

#include "store/store_error.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ludrin::store {

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Position() const { return position_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Remaining() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }
    std::uint8_t Peek() const {
        Need(1);
        return bytes_[position_];
    }

    // The next `count` bytes, in place; EReadError when fewer remain.
    std::span<const std::uint8_t> Take(std::size_t count) {
        Need(count);
        const auto taken = bytes_.subspan(position_, count);
        position_ += count;
        return taken;
    }
    void Skip(std::size_t count) { Take(count); }

    std::uint8_t ReadU8() { return Take(1)[0]; }
    std::uint16_t ReadU16() {
        const auto b = Take(2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t ReadU32() {
        const auto b = Take(4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }

private:
    void Need(std::size_t count) const {
        if (count > Remaining()) {
            throw EReadError();
        }
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// Little-endian appends, the byte order of every stored format here.
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
inline void AppendBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

} // namespace ludrin::store
