#include "platform/text/utf16.hpp"

namespace ludrin::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::u16string WideToUtf16(std::wstring_view wide) {
    std::u16string out;
    out.reserve(wide.size());
    for (const wchar_t c : wide) {
        auto cp = static_cast<char32_t>(c);
        if constexpr (sizeof(wchar_t) == 2) {
            out.push_back(static_cast<char16_t>(cp));
            continue;
        }
        if (cp > 0x10FFFF) {
            cp = kReplacement;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::wstring Utf16ToWide(std::u16string_view utf16) {
    std::wstring out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char32_t unit = utf16[i];
        if constexpr (sizeof(wchar_t) != 2) {
            if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
                const char32_t low = utf16[++i];
                out.push_back(
                    static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                continue;
            }
        }
        out.push_back(static_cast<wchar_t>(unit));
    }
    return out;
}

} // namespace ludrin::text
