// Key shortcuts and the platform's hot keys; window states and show commands.

#include "platform/shelllink/shell_link.hpp"

#include <gtest/gtest.h>

namespace ludrin::shelllink {
namespace {

struct HotKeyCase {
    const char* name;
    TShortCut shortCut;
    std::uint16_t hotKey;
};

// Modifier bits move from the top three bits of the shortcut to the flag byte 1, 2, 4.
const HotKeyCase kHotKeys[] = {
    {"none", 0, 0},
    {"a bare key", 0x0070, 0x0070},
    {"Shift", 0x2041, 0x0141},
    {"Ctrl", 0x4041, 0x0241},
    {"Alt", 0x8041, 0x0441},
    {"Ctrl+Shift+F5", 0x6074, 0x0374},
    {"Ctrl+Alt+Shift", 0xE0FF, 0x07FF},
};

TEST(HotKey, ModifiersMoveBetweenTheShortcutBitsAndTheFlagByte) {
    for (const auto& c : kHotKeys) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ShortCutToHotKey(c.shortCut), c.hotKey);
        EXPECT_EQ(HotKeyToShortCut(c.hotKey), c.shortCut);
    }
}

TEST(HotKey, EveryKeyWithEveryModifierSetComesBackUnchanged) {
    for (unsigned key = 0; key < 0x100; ++key) {
        for (const unsigned modifiers :
             {0u, 0x2000u, 0x4000u, 0x8000u, 0x6000u, 0xA000u, 0xC000u, 0xE000u}) {
            const auto shortCut = static_cast<TShortCut>(key | modifiers);
            const std::uint16_t hotKey = ShortCutToHotKey(shortCut);
            ASSERT_EQ(hotKey & 0xFF, key);
            ASSERT_EQ(HotKeyToShortCut(hotKey), shortCut) << std::hex << shortCut;
        }
    }
}

TEST(HotKey, BitsBetweenKeyAndModifiersPassUnmasked) {
    // Nothing a keyboard produces, but the conversions keep what they are given there.
    EXPECT_EQ(ShortCutToHotKey(0x1841), 0x1841);
    EXPECT_EQ(HotKeyToShortCut(0x0841), 0x0841);
    EXPECT_EQ(HotKeyToShortCut(0xF841), 0xF841);
}

TEST(ShowCommand, EachWindowStateHasItsShowCommand) {
    EXPECT_EQ(ShowCommandOf(TslShellLinkRunAs::raNormal), 1u);    // SW_SHOWNORMAL
    EXPECT_EQ(ShowCommandOf(TslShellLinkRunAs::raMaximized), 3u); // SW_SHOWMAXIMIZED
    EXPECT_EQ(ShowCommandOf(TslShellLinkRunAs::raMinimized), 7u); // SW_SHOWMINNOACTIVE
}

TEST(ShowCommand, OnlyMaximizedAndMinimizedNoActiveReadAsThemselves) {
    for (std::uint32_t show = 0; show < 20; ++show) {
        const auto expected = show == 3   ? TslShellLinkRunAs::raMaximized
                              : show == 7 ? TslShellLinkRunAs::raMinimized
                                          : TslShellLinkRunAs::raNormal;
        EXPECT_EQ(RunAsOf(show), expected) << show;
    }
    EXPECT_EQ(RunAsOf(0xFFFFFFFFu), TslShellLinkRunAs::raNormal);
}

} // namespace
} // namespace ludrin::shelllink
