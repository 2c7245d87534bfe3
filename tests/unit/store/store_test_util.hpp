#pragma once
// Small helpers shared by the store tests.

#include "store/block_packer.hpp"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace ludrin::store::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Hex(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values) {
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

inline Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

inline Bytes U16(std::size_t v) {
    return Hex({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF)});
}

inline Bytes U32(std::uint32_t v) {
    return Hex({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>((v >> 16) & 0xFF), static_cast<int>(v >> 24)});
}

// The whole packed stream: size field and blocks.
inline Bytes Pack(const Bytes& input) {
    Bytes out(SFCalcTargetSz(input.size()));
    out.resize(SFPack(input, out));
    return out;
}

// Unpacks a whole packed stream into exactly its declared size.
inline Bytes Unpack(const Bytes& packed) {
    const std::uint32_t size = static_cast<std::uint32_t>(packed[0] | (packed[1] << 8) |
                                                          (packed[2] << 16) | (packed[3] << 24));
    Bytes out(size);
    const std::size_t produced = SFUnpack(std::span<const std::uint8_t>(packed).subspan(4), out);
    out.resize(produced);
    return out;
}

} // namespace ludrin::store::test
