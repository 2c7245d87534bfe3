#pragma once
// Conversions between the UTF-8 of byte formats and the wide text of the app layers.
// On Windows a wide string is UTF-16; on POSIX wchar_t holds whole code points.

#include <string>
#include <string_view>

namespace ludrin::text {

// Malformed UTF-8 becomes U+FFFD per bad sequence; nothing is dropped silently.
std::wstring Utf8ToWide(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

} // namespace ludrin::text
