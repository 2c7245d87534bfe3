#include "platform/text/convert.hpp"

#include "platform/text/text.hpp"

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

bool IsBlank(wchar_t c) {
    return c != L'\0' && c <= L' ';
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

std::vector<std::wstring> SplitCommaText(std::wstring_view text) {
    text = text.substr(0, text.find(L'\0')); // the classic text ends at its first NUL
    std::vector<std::wstring> items;
    std::size_t p = 0;
    const auto at = [&](std::size_t i) {
        return i < text.size() ? text[i] : L'\0';
    };
    const auto skipBlanks = [&] {
        while (IsBlank(at(p))) {
            ++p;
        }
    };
    skipBlanks();
    while (p < text.size()) {
        std::wstring item;
        if (at(p) == L'"') {
            ++p;
            while (p < text.size()) {
                if (at(p) == L'"') {
                    if (at(p + 1) != L'"') {
                        ++p;
                        break;
                    }
                    ++p;
                }
                item.push_back(text[p++]);
            }
        } else {
            while (p < text.size() && at(p) > L' ' && at(p) != L',') {
                item.push_back(text[p++]);
            }
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (at(p) == L',') {
            if (p + 1 == text.size()) {
                items.emplace_back();
            }
            do {
                ++p;
            } while (IsBlank(at(p)));
        }
    }
    return items;
}

} // namespace ludrin::text
