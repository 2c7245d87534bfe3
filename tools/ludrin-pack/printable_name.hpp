#pragma once
// Entry names on one output line: control characters would break the line and field
// layout, so they are shown as \xHH.

#include "platform/text/utf.hpp"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace ludrin::pack {

// A stored file's raw name with anything unprintable (NUL, controls, invalid UTF-8) as \xHH
// and the backslash doubled.
std::string EscapedName(std::span<const std::uint8_t> name);

inline std::string PrintableName(const std::wstring& name) {
    std::string out;
    for (const char c : text::WideToUtf8(name)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
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
