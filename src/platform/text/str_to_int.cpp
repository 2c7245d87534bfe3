#include "platform/text/str_to_int.hpp"

#include "platform/text/utf.hpp"

#include <cstdint>
#include <limits>

namespace ludrin::text {
namespace {

int DigitValue(wchar_t c, int base) {
    int value = 99;
    if (c >= L'0' && c <= L'9') {
        value = c - L'0';
    } else if (c >= L'a' && c <= L'f') {
        value = c - L'a' + 10;
    } else if (c >= L'A' && c <= L'F') {
        value = c - L'A' + 10;
    }
    return value < base ? value : -1;
}

} // namespace

int StrToInt(std::wstring_view text) {
    const auto fail = [&] {
        std::string message = "'";
        message.append(WideToUtf8(text)).append("' is not a valid integer value");
        return EConvertError(message);
    };
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == L'-';
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == L'$') {
        base = 16, i += 1;
    } else if (text.substr(i).starts_with(L"0x") || text.substr(i).starts_with(L"0X")) {
        base = 16, i += 2;
    }
    if (i == text.size()) {
        throw fail();
    }
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) {
            throw fail();
        }
        value = value * base + digit;
        if (value > std::int64_t{std::numeric_limits<int>::max()} + 1) {
            throw fail();
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) {
        throw fail();
    }
    return static_cast<int>(value);
}

} // namespace ludrin::text
