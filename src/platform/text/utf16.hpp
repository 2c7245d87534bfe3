#pragma once
// Wide text to the UTF-16 code units that stored platform formats hold, and back. On
// Windows both are the same units; on POSIX a wide character is one code point.

#include <string>
#include <string_view>

namespace ludrin::text {

// Code points beyond U+10FFFF become U+FFFD. A lone surrogate stays one unit, so every
// text read by Utf16ToWide writes back unchanged.
std::u16string WideToUtf16(std::wstring_view wide);

// A surrogate pair becomes one code point on POSIX; a lone surrogate is kept as it is.
std::wstring Utf16ToWide(std::u16string_view utf16);

} // namespace ludrin::text
