// The mask test against a plain reference: the wildcard rule written as its recursive
// definition, and a table of the DOS mask rules.

#include "zip/zip_mask.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace ludrin::zip {
namespace {

wchar_t Lower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

// The rule as written: slow, exponential on purpose, obviously right.
bool Reference(std::wstring_view name, std::wstring_view pattern) {
    if (pattern == L"*") {
        return true;
    }
    if (name.empty()) {
        return pattern.empty();
    }
    if (pattern.empty()) {
        return false;
    }
    if (pattern[0] == L'*') {
        for (std::size_t i = 0; i < name.size(); ++i) {
            if (Reference(name.substr(i), pattern.substr(1))) {
                return true;
            }
        }
        return false;
    }
    if (pattern[0] != L'?' && Lower(pattern[0]) != Lower(name[0])) {
        return false;
    }
    return Reference(name.substr(1), pattern.substr(1));
}

TEST(ZipMask, WildcardsAgreeWithTheRecursiveRuleOnRandomInputs) {
    std::mt19937 random(7);
    const std::wstring nameChars = L"abAB./";
    const std::wstring patternChars = L"aB.*?/";
    for (int i = 0; i < 20000; ++i) {
        std::wstring name;
        std::wstring pattern;
        for (auto n = random() % 7; n > 0; --n) {
            name += nameChars[random() % nameChars.size()];
        }
        for (auto n = random() % 6; n > 0; --n) {
            pattern += patternChars[random() % patternChars.size()];
        }
        const bool expected = pattern == L"*.*" || Reference(name, pattern);
        ASSERT_EQ(IsStrMatchPattern(name, pattern), expected)
            << "name '" << std::string(name.begin(), name.end()) << "' pattern '"
            << std::string(pattern.begin(), pattern.end()) << "'";
    }
}

TEST(ZipMask, HostileNamesCostNoMoreThanNameTimesPattern) {
    const std::wstring name(20000, L'a');
    EXPECT_FALSE(IsStrMatchPattern(name, L"*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(ZipMask, DosMaskRules) {
    struct Case {
        const wchar_t* name;
        const wchar_t* mask;
        bool match;
    };
    const Case cases[] = {
        {L"file.txt", L"*.*", true},
        {L"noext", L"*.*", true},
        {L"a/b/c.dll", L"*.*", true},
        {L"a/b/c.dll", L"*", true},
        {L"noext", L"", false},
        {L"FILE.TXT", L"file.txt", true},
        {L"\u00C9t\u00E9.txt", L"\u00E9t\u00E9.txt", false}, // only ASCII letters fold
        {L"name", L"name.", true},
        {L"name.txt", L"name.", false},
        {L"name.", L"name.", true},
        {L"noext", L"*.", true},
        {L"dir/noext", L"*.", true},
        {L"x.txt", L"*.", false},
        {L"a.b..", L"*.", true},   // its extension is "." whichever trailing dot is dropped
        {L"file.", L"file", true}, // a trailing dot of the name is dropped
        {L"a.txt", L"?.txt", true},
        {L"ab.txt", L"?.txt", false},
        {L"a.b.txt", L"*.*.txt", true}, // only the first "*.*" becomes "*"
        {L"abc", L"abc**", false},      // an exhausted name matches only an exhausted pattern
        {L"abc", L"ab*c", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsInternalFileMatchMask(c.name, c.mask), c.match)
            << std::string(c.name, c.name + std::wcslen(c.name)) << " / "
            << std::string(c.mask, c.mask + std::wcslen(c.mask));
    }
}

} // namespace
} // namespace ludrin::zip
