// Windows' name rules as every host applies them.

#include "zip/windows_names.hpp"

#include <gtest/gtest.h>

namespace ludrin::zip {
namespace {

TEST(WindowsNames, PlaceableNames) {
    struct Case {
        const wchar_t* name;
        bool placeable;
    };
    const Case cases[] = {
        {L"brvdll/LibAV/avcodec.dll", true},
        {L"dir/", true},
        {L"./a.txt", true},
        {L"x.dll.", false},
        {L"x.dll ", false},
        {L"dir./a", false},
        {L"a<b", false},
        {L"a>b", false},
        {L"a\"b", false},
        {L"a|b", false},
        {L"a?b", false},
        {L"a*b", false},
        {L"a\x01"
         L"b",
         false},
        {L"a\x1F"
         L"b",
         false},
        {L"caf\u00E8.txt", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPlaceableOnWindows(c.name), c.placeable) << testing::PrintToString(c.name);
    }
}

TEST(WindowsNames, FoldingAsWindowsComparesNames) {
    EXPECT_EQ(FoldedAsWindows(L"lib/Codec.dll"), FoldedAsWindows(L"LIB\\codec.DLL"));
    EXPECT_EQ(FoldedAsWindows(L"\u00E8\u00FF\u0101\u013A\u03B1\u0436\u0451"),
              L"\u00C8\u0178\u0100\u0139\u0391\u0416\u0401");
    // Not letters, or letters without a simple capital: unchanged.
    EXPECT_EQ(FoldedAsWindows(L"\u00F7\u00DF\u0131"), L"\u00F7\u00DF\u0131");
}

} // namespace
} // namespace ludrin::zip
