#include "platform/text/ascii_case.hpp"
#include "platform/text/code_pages.hpp"
#include "platform/text/comma_text.hpp"
#include "platform/text/str_to_int.hpp"
#include "platform/text/utf.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace ludrin::text {
namespace {

// A typed password becomes the ANSI bytes the archive's keys were made from, not UTF-8.
TEST(AnsiCodePage, TypedTextBecomesTheCodePagesBytes) {
    EXPECT_EQ(WideToAnsi(L"p\u00E4ssw\u00F6rd\u20AC"), "p\xE4ssw\xF6rd\x80");
    EXPECT_EQ(WideToAnsi(L"\u65E5"), "?"); // no such character in the code page
    EXPECT_EQ(AnsiToWide(WideToAnsi(L"Funzionalit\u00E0")), L"Funzionalit\u00E0");
}

TEST(Utf8, ItalianAccentsAndAstralCharactersRoundTrip) {
    const std::string utf8 = "Funzionalit\xC3\xA0 \xC3\xA8 \xF0\x9F\x8E\xB5";
    const auto wide = Utf8ToWide(utf8);
    EXPECT_EQ(wide.substr(0, 13), L"Funzionalit\u00E0 ");
    EXPECT_EQ(WideToUtf8(wide), utf8);
}

TEST(Utf8, MalformedSequencesBecomeReplacementCharacters) {
    struct Case {
        std::string input;
        std::wstring expected;
    };
    const Case cases[] = {
        {"a\xC3", L"a\uFFFD"},         // cut short at the end
        {"\xC0\xAF", L"\uFFFD"},       // overlong encoding of '/'
        {"\xED\xA0\x80x", L"\uFFFDx"}, // encoded surrogate
        {"\xFF"
         "b",
         L"\uFFFDb"}, // no lead byte
        {"\xE2\x82"
         "c",
         L"\uFFFDc"}, // continuation missing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.input), c.expected) << c.input;
    }
}

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(EqualsAsciiNoCase(L"LUDRIN.EXE", L"ludrin.exe"));
    EXPECT_FALSE(EqualsAsciiNoCase(L"\u00C8", L"\u00E8"));
    EXPECT_FALSE(EqualsAsciiNoCase(L"Ludrin.exe", L"Ludrin.exe.bak"));
}

TEST(StrToInt, AcceptsClassicIntegerForms) {
    struct Case {
        std::wstring text;
        std::optional<int> value; // nullopt: raises
    };
    const Case cases[] = {
        {L"0", 0},
        {L"42", 42},
        {L"-7", -7},
        {L"+7", 7},
        {L"$1F", 31},
        {L"0x10", 16},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"2147483648", std::nullopt},
        {L"", std::nullopt},
        {L"Upd", std::nullopt},
        {L"1a", std::nullopt},
        {L"-", std::nullopt},
        {L"0x", std::nullopt},
        {L"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.value) {
            EXPECT_EQ(StrToInt(c.text), *c.value) << WideToUtf8(c.text);
        } else {
            EXPECT_THROW(StrToInt(c.text), EConvertError) << WideToUtf8(c.text);
        }
    }
}

TEST(StrToInt, NamesTheTextInItsError) {
    try {
        StrToInt(L"Updated");
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'Updated' is not a valid integer value");
    }
}

TEST(SplitCommaText, SeparatesAtCommasAndBlanks) {
    struct Case {
        std::wstring text;
        std::vector<std::wstring> items;
    };
    const Case cases[] = {
        {L"1,0,0,0", {L"1", L"0", L"0", L"0"}},
        {L"Updated at run-time", {L"Updated", L"at", L"run-time"}},
        {L"  a , b", {L"a", L"b"}},
        {L"1,,2", {L"1", L"", L"2"}},
        {L"1,", {L"1", L""}},
        {L"\"a b\",c", {L"a b", L"c"}},
        {L"\"say \"\"hi\"\"\"", {L"say \"hi\""}},
        {L"", {}},
        {std::wstring(L"1\0,2", 4), {L"1"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitCommaText(c.text), c.items) << WideToUtf8(c.text);
    }
}

} // namespace
} // namespace ludrin::text
