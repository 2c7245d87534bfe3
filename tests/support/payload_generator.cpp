#include "support/payload_generator.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string_view>

namespace ludrin::testing {

std::vector<std::uint8_t> CompressedLike(std::size_t size, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::vector<std::uint8_t> out(size);
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const std::uint64_t word = random();
        std::memcpy(out.data() + i, &word, 8);
    }
    for (; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>(random());
    }
    return out;
}

std::vector<std::uint8_t> MachineCodeLike(std::size_t size, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    constexpr std::array<std::uint8_t, 4> kPadding{0x00, 0xCC, 0x90, 0xFF};
    std::vector<std::uint8_t> out;
    out.reserve(size);
    while (out.size() < size) {
        const std::uint64_t pick = random();
        const std::size_t left = size - out.size();
        if (pick % 16 == 0) {
            const std::size_t length = std::min<std::size_t>(left, 2 + (pick >> 8) % 299);
            out.insert(out.end(), length, kPadding[(pick >> 4) % kPadding.size()]);
        } else {
            const std::size_t length = std::min<std::size_t>(left, 8 + (pick >> 8) % 120);
            for (std::size_t k = 0; k < length; ++k) {
                out.push_back(static_cast<std::uint8_t>(random()));
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> TextLike(std::size_t size, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    constexpr std::array<std::string_view, 12> kWords{
        "installazione", "file",   "della", "cartella", "Ludrin", "player", "il", "un",
        "codec",         "filtri", "0x1F",  "errore"};
    std::vector<std::uint8_t> out;
    out.reserve(size + 64);
    while (out.size() < size) {
        const std::uint64_t pick = random();
        if (pick % 23 == 0) {
            out.insert(out.end(), 4 + pick % 9, ' '); // indentation
        } else if (pick % 41 == 0) {
            out.insert(out.end(), 20 + pick % 60, '-'); // ruler line
            out.push_back('\n');
        } else {
            const auto word = kWords[(pick >> 8) % kWords.size()];
            out.insert(out.end(), word.begin(), word.end());
            out.push_back((pick >> 16) % 9 == 0 ? '\n' : ' ');
        }
    }
    out.resize(size);
    return out;
}

} // namespace ludrin::testing
