#pragma once
// Entry names on one output line: control characters would break the line and field
// layout, so they are shown as \xHH.

#include "platform/text/utf.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace ludrin::pack {

// A stored file's raw name with anything unprintable (NUL, controls, invalid UTF-8) as \xHH
// and the backslash doubled.
std::string EscapedName(std::span<const std::uint8_t> name);

inline std::string PrintableName(const std::wstring& name) {
    std::string utf8 = text::WideToUtf8(name);
    const auto unprintable = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    };
    // Names are printed with every event: most have nothing to show otherwise.
    if (std::none_of(utf8.begin(), utf8.end(), unprintable)) {
        return utf8;
    }
    std::string out;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (unprintable(c)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace ludrin::pack
