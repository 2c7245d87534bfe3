#include "zip/zip_mask.hpp"

#include "platform/text/ascii_case.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace ludrin::zip {
namespace {

// match(n, p): does name[n..] match pattern[p..]? A '*' tries the rest of the pattern on
// every suffix that starts at a character of the remaining name (so it matches an empty run
// only before a character), a remaining pattern of exactly "*" matches any rest, and an
// exhausted name matches only an exhausted pattern. Filled one pattern position at a time
// from the right, so hostile names cost O(name x pattern), never exponential time.
bool MatchFrom(std::wstring_view name, std::wstring_view pattern) {
    const std::size_t size = name.size();
    std::vector<char> next(size + 1, 0); // match(., p + 1)
    std::vector<char> current(size + 1, 0);
    for (std::size_t p = pattern.size() + 1; p-- > 0;) {
        const std::wstring_view rest = pattern.substr(p);
        if (rest == L"*") {
            std::fill(current.begin(), current.end(), 1);
        } else {
            current[size] = rest.empty() ? 1 : 0;
            char anySuffix = 0; // OR of match(k, p + 1) for k >= n, k < size
            for (std::size_t n = size; n-- > 0;) {
                if (rest.empty()) {
                    current[n] = 0;
                    continue;
                }
                anySuffix = static_cast<char>(anySuffix | next[n]);
                const wchar_t c = rest.front();
                if (c == L'*') {
                    current[n] = anySuffix;
                } else if (c == L'?' || text::AsciiLower(c) == text::AsciiLower(name[n])) {
                    current[n] = next[n + 1];
                } else {
                    current[n] = 0;
                }
            }
        }
        std::swap(current, next);
    }
    return next[0] != 0;
}

} // namespace

bool IsStrMatchPattern(std::wstring_view name, std::wstring_view pattern) {
    if (pattern == L"*.*") {
        return true;
    }
    return MatchFrom(name, pattern);
}

bool IsInternalFileMatchMask(std::wstring_view name, std::wstring_view mask) {
    if (mask.empty()) {
        return false;
    }
    std::wstring pattern(mask);
    if (const auto at = pattern.find(L"*.*"); at != std::wstring::npos) {
        pattern.replace(at, 3, L"*");
    }
    const bool trailingDot = mask.back() == L'.';
    if (trailingDot) {
        pattern.pop_back();
    }
    if (!name.empty() && name.back() == L'.') {
        name.remove_suffix(1);
    }
    if (!IsStrMatchPattern(name, pattern)) {
        return false;
    }
    if (!trailingDot) {
        return true;
    }
    // Only names without an extension: the text from the last dot after the last
    // separator is nothing but that dot, or there is no such dot.
    const auto lastSeparator = name.find_last_of(L"\\/");
    const auto nameStart = lastSeparator == std::wstring_view::npos ? 0 : lastSeparator + 1;
    const auto dot = name.rfind(L'.');
    return dot == std::wstring_view::npos || dot < nameStart || name.substr(dot) == L".";
}

} // namespace ludrin::zip
