#include "ui/controls/glow_button_style.hpp"

#include <gtest/gtest.h>

namespace ludrin::ui {
namespace {

TEST(GlowColours, FollowTheStateTableOfTheMainWindow) {
    const GlowColours hot = ColoursFor(GlowState::Hot);
    EXPECT_EQ(hot.gradient.from, FromHex(0xE1F0F5));
    EXPECT_EQ(hot.gradient.to, FromHex(0xB2D2F9));
    EXPECT_EQ(hot.mirror.from, FromHex(0xADC8F5));
    EXPECT_EQ(hot.mirror.to, FromHex(0xF4F8FF));
    for (const auto state : {GlowState::Down, GlowState::Checked}) {
        const GlowColours c = ColoursFor(state);
        EXPECT_EQ(c.gradient.from, FromHex(0xCAD8F5));
        EXPECT_EQ(c.gradient.to, FromHex(0xA0BDF9));
        EXPECT_EQ(c.mirror.from, FromHex(0x9CB4F5));
        EXPECT_EQ(c.mirror.to, FromHex(0xDCDFFF));
    }
    const GlowColours disabled = ColoursFor(GlowState::Disabled);
    EXPECT_EQ(disabled.gradient.from, FromHex(0xF2F2F2));
    EXPECT_EQ(disabled.gradient.to, FromHex(0xF2F2F2));
    EXPECT_EQ(disabled.mirror.from, FromHex(0xB6B6B6));
    EXPECT_EQ(disabled.mirror.to, FromHex(0xF2F2F2));
}

TEST(GlowColours, GradientOverTheUpperHalfMirrorOverTheLower) {
    const GlowColours hot = ColoursFor(GlowState::Hot);
    EXPECT_EQ(FaceColourAt(hot, 0, 46), hot.gradient.from);
    EXPECT_EQ(FaceColourAt(hot, 22, 46), hot.gradient.to);
    EXPECT_EQ(FaceColourAt(hot, 23, 46), hot.mirror.from);
    EXPECT_EQ(FaceColourAt(hot, 45, 46), hot.mirror.to);
    // Odd heights give the extra row to the lower half.
    EXPECT_EQ(FaceColourAt(hot, 21, 45), hot.gradient.to);
    EXPECT_EQ(FaceColourAt(hot, 22, 45), hot.mirror.from);
    EXPECT_EQ(FaceColourAt(hot, 44, 45), hot.mirror.to);
}

TEST(GlowFace, PaintsTheStateColoursInsideARoundedBorder) {
    const Rgb background = FromHex(0xF0F0F0);
    Image face(106, 46, Opaque(background));
    PaintGlowFace(face, GlowState::Hot, false, 3, 1);
    const GlowColours hot = ColoursFor(GlowState::Hot);
    EXPECT_EQ(face.ColourAt(53, 0), hot.border);
    EXPECT_EQ(face.ColourAt(53, 2), FaceColourAt(hot, 2, 46));
    EXPECT_EQ(face.ColourAt(53, 40), FaceColourAt(hot, 40, 46));
    EXPECT_EQ(face.ColourAt(0, 0), background); // rounded corner
}

TEST(GlowFace, TransparentButtonShowsNothingAtRestButGlowsWhenHot) {
    const Rgb background = FromHex(0xF0F0F0);
    Image face(43, 44, Opaque(background));
    PaintGlowFace(face, GlowState::Normal, true, 3, 1);
    EXPECT_EQ(face.ColourAt(21, 10), background);
    PaintGlowFace(face, GlowState::Hot, true, 3, 1);
    EXPECT_NE(face.ColourAt(21, 10), background);
}

TEST(GlowLayout, ImageAndCaptionAreCentredTogetherWithTheSpacing) {
    const GlowLayout layout = LayoutGlowContent(106, 46, 32, 40, 13, 8, 4);
    EXPECT_EQ(layout.image.left, 4 + (98 - 80) / 2);
    EXPECT_EQ(layout.image.top, 7);
    EXPECT_EQ(layout.text.left, layout.image.Right() + 8);
    EXPECT_EQ(layout.text.width, 40);
    EXPECT_FALSE(layout.captionClipped);
}

TEST(GlowLayout, ImageOnlyButtonCentresItsImage) {
    const GlowLayout layout = LayoutGlowContent(43, 44, 32, 0, 0, 10, 4);
    EXPECT_EQ(layout.image, (Box{5, 6, 32, 32}));
    EXPECT_EQ(layout.text.width, 0);
}

TEST(GlowLayout, LongCaptionIsCutToTheButtonAndSaysSo) {
    const GlowLayout layout = LayoutGlowContent(200, 45, 32, 400, 13, 5, 4);
    EXPECT_TRUE(layout.captionClipped);
    EXPECT_EQ(layout.text.Right(), 196);
    EXPECT_EQ(layout.image.left, 4);
}

TEST(GlowLayout, InstallCaptionsFitAtEveryDpi) {
    // The longer caption (101 characters) measures 508 px in bold Tahoma 8 pt at 96 dpi
    // under Wine; the end-to-end test checks the real measure through the button itself.
    for (const int dpi : {96, 120, 144, 192}) {
        const auto s = [dpi](int v) {
            return v * dpi / 96;
        };
        const GlowLayout layout =
            LayoutGlowContent(s(563), s(45), s(32), s(508), s(13), s(5), s(4));
        EXPECT_FALSE(layout.captionClipped) << dpi;
    }
}

} // namespace
} // namespace ludrin::ui
