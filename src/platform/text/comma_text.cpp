#include "platform/text/comma_text.hpp"

namespace ludrin::text {
namespace {

bool IsBlank(wchar_t c) {
    return c != L'\0' && c <= L' ';
}

} // namespace

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
