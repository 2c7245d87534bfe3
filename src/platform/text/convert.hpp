#pragma once
// Text-to-number conversion and comma-text splitting with the classic rules the version
// helpers rely on.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ludrin::text {

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal, or hexadecimal after "$" or "0x", with an optional sign, in 32-bit range.
// Raises EConvertError "'<text>' is not a valid integer value" otherwise.
int StrToInt(std::wstring_view text);

// Items separated by commas and by blanks; double quotes group, "" inside quotes is a
// quote; a trailing comma gives a last empty item.
std::vector<std::wstring> SplitCommaText(std::wstring_view text);

} // namespace ludrin::text
