#include "ui/controls/high_contrast.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace ludrin::ui {
namespace {

// The two themes users pick most, with every colour distinct within a theme, so a test can
// tell which system colour was chosen.
const SystemColours kBlackTheme{.buttonFace = FromHex(0x000000),
                                .buttonText = FromHex(0xFFFFFF),
                                .highlight = FromHex(0x1AEBFF),
                                .highlightText = FromHex(0x101010),
                                .grayText = FromHex(0x3FF23F),
                                .window = FromHex(0x202020),
                                .windowText = FromHex(0xFFFF00)};
const SystemColours kWhiteTheme{.buttonFace = FromHex(0xFFFFFF),
                                .buttonText = FromHex(0x000000),
                                .highlight = FromHex(0x37006E),
                                .highlightText = FromHex(0xFEFEFE),
                                .grayText = FromHex(0x600000),
                                .window = FromHex(0xF0F0F0),
                                .windowText = FromHex(0x0A0A0A)};

enum class Slot { ButtonFace, ButtonText, Highlight, HighlightText, GrayText };

Rgb Pick(const SystemColours& c, Slot slot) {
    switch (slot) {
    case Slot::ButtonFace:
        return c.buttonFace;
    case Slot::ButtonText:
        return c.buttonText;
    case Slot::Highlight:
        return c.highlight;
    case Slot::HighlightText:
        return c.highlightText;
    case Slot::GrayText:
        break;
    }
    return c.grayText;
}

struct ButtonCase {
    GlowState state;
    bool focused;
    Slot face, text, border;
};

// Where the pointer or the keyboard is, the selection colours; at rest the button colours.
const ButtonCase kButtonCases[] = {
    {GlowState::Normal, false, Slot::ButtonFace, Slot::ButtonText, Slot::ButtonText},
    {GlowState::Normal, true, Slot::Highlight, Slot::HighlightText, Slot::ButtonText},
    {GlowState::Hot, false, Slot::Highlight, Slot::HighlightText, Slot::ButtonText},
    {GlowState::Down, false, Slot::Highlight, Slot::HighlightText, Slot::ButtonText},
    {GlowState::Checked, false, Slot::Highlight, Slot::HighlightText, Slot::ButtonText},
    {GlowState::Disabled, false, Slot::ButtonFace, Slot::GrayText, Slot::GrayText},
    // A disabled button cannot be used, even if it still holds the focus.
    {GlowState::Disabled, true, Slot::ButtonFace, Slot::GrayText, Slot::GrayText},
};

TEST(HighContrastButton, TakesTheSystemColourOfEachState) {
    for (const SystemColours& theme : {kBlackTheme, kWhiteTheme}) {
        for (const ButtonCase& c : kButtonCases) {
            const FlatColours got = HighContrastButton(c.state, c.focused, theme);
            const std::string name = "state " + std::to_string(static_cast<int>(c.state)) +
                                     (c.focused ? " focused" : "");
            EXPECT_EQ(got.face, Pick(theme, c.face)) << name;
            EXPECT_EQ(got.text, Pick(theme, c.text)) << name;
            EXPECT_EQ(got.border, Pick(theme, c.border)) << name;
            // The text always stands on a face of another colour.
            EXPECT_NE(got.text, got.face) << name;
        }
    }
}

TEST(HighContrastPanel, UsesTheWindowColours) {
    const FlatColours panel = HighContrastPanel(kBlackTheme);
    EXPECT_EQ(panel.face, kBlackTheme.window);
    EXPECT_EQ(panel.text, kBlackTheme.windowText);
    EXPECT_EQ(panel.border, kBlackTheme.windowText);
}

TEST(FlatFace, HasOnlyTheFaceInsideAFrameOfTheBorderColour) {
    const FlatColours colours{FromHex(0x112233), FromHex(0x445566), FromHex(0x778899)};
    for (const int border : {1, 2}) {
        Image image(9, 7, Opaque(FromHex(0xABCDEF)));
        PaintFlatFace(image, colours, border);
        std::set<std::uint32_t> seen;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const bool edge = x < border || y < border || x >= image.width - border ||
                                  y >= image.height - border;
                EXPECT_EQ(image.ColourAt(x, y), edge ? colours.border : colours.face)
                    << x << "," << y << " border " << border;
                EXPECT_EQ(image.AlphaAt(x, y), 255);
                seen.insert(image.At(x, y));
            }
        }
        EXPECT_EQ(seen.size(), 2u) << "no gradient, no glow";
    }
}

} // namespace
} // namespace ludrin::ui
