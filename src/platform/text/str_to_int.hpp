#pragma once
// Text-to-number conversion with the classic rules the version helpers rely on.

#include <stdexcept>
#include <string>
#include <string_view>

namespace ludrin::text {

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal, or hexadecimal after "$" or "0x", with an optional sign, in 32-bit range.
// Raises EConvertError "'<text>' is not a valid integer value" otherwise.
int StrToInt(std::wstring_view text);

} // namespace ludrin::text
