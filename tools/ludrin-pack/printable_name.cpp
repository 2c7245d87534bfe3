#include "printable_name.hpp"

#include <cstdio>

namespace ludrin::pack {
namespace {

// Length of the valid UTF-8 sequence of a printable character at `i`, or 0.
std::size_t PrintableUtf8(std::span<const std::uint8_t> s, std::size_t i) {
    const std::uint8_t lead = s[i];
    std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (lead >= 0xF5 || length == 0 || s.size() - i < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) {
            return 0;
        }
    }
    // Overlong forms, surrogate halves and values above U+10FFFF are not UTF-8 either.
    const std::uint8_t second = s[i + 1];
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
        return 0;
    }
    // C1 controls (U+0080 to U+009F) are not printable.
    return lead == 0xC2 && s[i + 1] < 0xA0 ? 0 : length;
}

} // namespace

std::string EscapedName(std::span<const std::uint8_t> name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const std::uint8_t c = name[i];
        if (c >= 0x20 && c < 0x7F) {
            out += c == '\\' ? "\\\\" : std::string(1, static_cast<char>(c));
            ++i;
        } else if (const std::size_t length = c >= 0x80 ? PrintableUtf8(name, i) : 0) {
            out.append(reinterpret_cast<const char*>(name.data() + i), length);
            i += length;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
            ++i;
        }
    }
    return out;
}

} // namespace ludrin::pack
