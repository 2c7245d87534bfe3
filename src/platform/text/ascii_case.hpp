#pragma once
// ASCII-only case folding, the rule for names compared "without regard to case" here.

#include <string>
#include <string_view>

namespace ludrin::text {

wchar_t AsciiLower(wchar_t c);
std::wstring AsciiLowered(std::wstring_view text);
bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithAsciiNoCase(std::wstring_view text, std::wstring_view prefix);

} // namespace ludrin::text
