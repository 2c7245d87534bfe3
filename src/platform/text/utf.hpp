#pragma once
// Conversions between the UTF-8 of byte formats and the wide text of the app layers.
// On Windows a wide string is UTF-16; on POSIX wchar_t holds whole code points.

#include <cstddef>
#include <string>
#include <string_view>

namespace ludrin::text {

// Malformed UTF-8 becomes U+FFFD per bad sequence; nothing is dropped silently.
std::wstring Utf8ToWide(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

// One UTF-8 sequence starting at a lead byte of 0x80 or above: the code point, how many
// bytes it took (the bad byte of a broken sequence is not taken), and whether it is a
// well-formed sequence (no overlong form, surrogate or value beyond U+10FFFF).
struct Utf8Sequence {
    char32_t codePoint;
    std::size_t length;
    bool valid;
};
Utf8Sequence DecodeUtf8Sequence(std::string_view utf8, std::size_t at);

// Appends one code point as wide text: a surrogate pair where wide text is UTF-16.
void AppendCodePoint(std::wstring& out, char32_t cp);

} // namespace ludrin::text
