#include "platform/text/ascii_case.hpp"

namespace ludrin::text {

wchar_t AsciiLower(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
}

std::wstring AsciiLowered(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) {
        c = AsciiLower(c);
    }
    return out;
}

bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && StartsWithAsciiNoCase(a, b);
}

bool StartsWithAsciiNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) {
            return false;
        }
    }
    return true;
}

} // namespace ludrin::text
