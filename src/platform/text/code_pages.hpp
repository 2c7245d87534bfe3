#pragma once
// The system's 8-bit code pages, as the archive reader needs them for entry names written
// without the UTF-8 flag: OEM (what DOS-era tools wrote) and ANSI (the Windows default).
// Both conversions stop at the first zero byte, as the C strings they stand for do.

#include <string>
#include <string_view>

namespace ludrin::text {

// Bytes of the OEM code page as bytes of the ANSI code page; a character that the ANSI
// code page lacks becomes the platform's replacement.
std::string ConvertOemToAnsi(std::string_view oem);

// Bytes of the ANSI code page as wide text.
std::wstring AnsiToWide(std::string_view ansi);

// Wide text as bytes of the ANSI code page (a typed password: the archive's keys were made
// from these bytes); a character that the code page lacks becomes '?'.
std::string WideToAnsi(std::wstring_view wide);

} // namespace ludrin::text
