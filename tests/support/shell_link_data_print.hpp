#pragma once
// Shortcut fields printed readably in test failures.

#include "platform/shelllink/lnk_format.hpp"
#include "platform/text/utf.hpp"

#include <ostream>

namespace ludrin::shelllink::lnk {

inline void PrintTo(const ShellLinkData& d, std::ostream* os) {
    const auto text = [](const std::wstring& w) {
        return '"' + text::WideToUtf8(w) + '"';
    };
    *os << "{target " << text(d.target) << ", arguments " << text(d.arguments)
        << ", working folder " << text(d.workingDirectory) << ", description "
        << text(d.description) << ", icon " << text(d.iconLocation) << " #" << d.iconIndex
        << ", show " << d.showCommand << ", hot key 0x" << std::hex << d.hotKey << std::dec << "}";
}

} // namespace ludrin::shelllink::lnk
