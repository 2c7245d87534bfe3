#include "support/recording_balloons.hpp"
#include "ui/hints/hint_geometry.hpp"

#include <gtest/gtest.h>

namespace ludrin::ui::hints {
namespace {

using ludrin::testing::FixedWidthMeasurer;

// The installer's balloon settings at 96 dpi, with a 16-pixel icon and a 14-pixel close glyph.
BalloonMetrics InstallerMetrics() {
    BalloonMetrics m;
    m.noseLength = 30;
    m.noseWidth = 30;
    m.roundRectWidth = 25;
    m.rightAngledNose = true;
    m.icon = {16, 16};
    m.closeButton = {14, 14};
    m.maxLineWidth = 320;
    return m;
}

const FixedWidthMeasurer kMeasurer{{7, 14}, {6, 13}};

TEST(BalloonLayout, SizesAddMarginsNoseCornerCloseButtonAndIcon) {
    // Title "Tip": 21 x 14, text "abc": 18 x 13.
    const BalloonLayout layout = LayoutBalloon(L"Tip", L"abc", kMeasurer, InstallerMetrics());
    EXPECT_EQ(layout.title, (Size{23, 16}));
    EXPECT_EQ(layout.text, (Size{24, 19}));
    EXPECT_EQ(layout.content, (Size{24, 36}));
    // Width: at least nose + corner (55), + 30 + 12, + 14 + 4, + 16 + 2.
    // Height: 36 + 30 + 9.
    EXPECT_EQ(layout.window, (Size{133, 75}));
}

TEST(BalloonLayout, WideTextSetsTheWidthAndTallGlyphsTheHeight) {
    BalloonMetrics m = InstallerMetrics();
    // 40 characters in one line: 240 + 6 beats the nose and corner.
    const BalloonLayout wide = LayoutBalloon(L"T", std::wstring(40, L'x'), kMeasurer, m);
    EXPECT_EQ(wide.window.width, 246 + 30 + 12 + 18 + 18);
    // A close glyph taller than everything else sets the height.
    m.noseLength = 0;
    m.closeButton = {14, 80};
    EXPECT_EQ(LayoutBalloon(L"T", L"x", kMeasurer, m).window.height, 82);
    m.icon = {16, 90};
    EXPECT_EQ(LayoutBalloon(L"T", L"x", kMeasurer, m).window.height, 92);
}

TEST(BalloonLayout, TextWrapsAtTheMaximumLineWidthAndKeepsItsLineBreaks) {
    const BalloonMetrics m = InstallerMetrics(); // 320 pixels: 53 characters of 6
    std::wstring longLine;
    for (int i = 0; i < 30; ++i) {
        longLine += L"word ";
    }
    // An initial CR LF is an empty first line; 150 characters wrap into three lines.
    const BalloonLayout layout = LayoutBalloon(L"T", L"\r\n" + longLine, kMeasurer, m);
    EXPECT_LE(layout.text.width, 320 + 6);
    EXPECT_EQ(layout.text.height, 4 * 13 + 6);
}

TEST(BalloonShape, AboveLeftBodyLeavesTheNoseStripBelowAndRight) {
    const BalloonShape shape =
        ShapeBalloon(THintPosition::hpAboveLeft, {133, 75}, InstallerMetrics());
    EXPECT_EQ(shape.body, (Rect{1, 0, 103, 45}));
    EXPECT_EQ(shape.corner, 25);
    EXPECT_EQ(shape.nose[0], (Point{53, 45}));
    EXPECT_EQ(shape.nose[1], (Point{83, 45}));
    EXPECT_EQ(shape.Tip(), (Point{84, 75})); // one pixel right of the base: a vertical side

    BalloonMetrics pointed = InstallerMetrics();
    pointed.rightAngledNose = false;
    EXPECT_EQ(ShapeBalloon(THintPosition::hpAboveLeft, {133, 75}, pointed).Tip(), (Point{133, 75}));
}

TEST(BalloonShape, FallbacksAreMirroredTowardTheirNose) {
    const Size window{133, 75};
    const struct {
        THintPosition position;
        Rect body;
        Point tip;
        int noseBaseY;
    } cases[] = {
        {THintPosition::hpAboveRight, {30, 0, 132, 45}, {49, 75}, 45},
        {THintPosition::hpBelowLeft, {1, 30, 103, 75}, {84, 0}, 30},
        {THintPosition::hpBelowRight, {30, 30, 132, 75}, {49, 0}, 30},
    };
    for (const auto& c : cases) {
        const BalloonShape shape = ShapeBalloon(c.position, window, InstallerMetrics());
        EXPECT_EQ(shape.body, c.body) << static_cast<int>(c.position);
        EXPECT_EQ(shape.Tip(), c.tip) << static_cast<int>(c.position);
        EXPECT_EQ(shape.nose[0].y, c.noseBaseY) << static_cast<int>(c.position);
        EXPECT_EQ(shape.nose[1].y, c.noseBaseY) << static_cast<int>(c.position);
        // The nose's base lies on the body's edge, within its width.
        for (const Point base : {shape.nose[0], shape.nose[1]}) {
            EXPECT_GE(base.x, shape.body.left) << static_cast<int>(c.position);
            EXPECT_LE(base.x, shape.body.right) << static_cast<int>(c.position);
        }
    }
}

// Where the nose's tip lands on the screen for each outcome of the placement.
TEST(BalloonPlacement, TriesTheFourPlacementsInOrderAndTheTipFindsTheAnchor) {
    const Size window{133, 75};
    const Rect desktop{0, 0, 1280, 1024};
    const struct {
        const char* name;
        Point anchor;
        THintPosition position;
        bool fitted;
        Point tip; // on the screen
    } cases[] = {
        {"room everywhere", {640, 500}, THintPosition::hpAboveLeft, true, {640, 499}},
        {"near the left edge", {50, 500}, THintPosition::hpAboveRight, true, {50, 499}},
        {"near the top-right corner", {1200, 40}, THintPosition::hpBelowLeft, true, {1198, 41}},
        {"near the top-left corner", {50, 40}, THintPosition::hpBelowRight, true, {55, 41}},
        {"exactly fitting above-left", {134, 76}, THintPosition::hpAboveLeft, true, {134, 75}},
        {"one pixel short above-left", {133, 76}, THintPosition::hpAboveRight, true, {133, 75}},
    };
    for (const auto& c : cases) {
        const Placement placed =
            PlaceBalloon(c.anchor, window, desktop, THintPosition::hpAboveLeft, InstallerMetrics());
        EXPECT_EQ(placed.position, c.position) << c.name;
        EXPECT_EQ(placed.fitted, c.fitted) << c.name;
        EXPECT_EQ(placed.window.Width(), 133) << c.name;
        EXPECT_EQ(placed.window.Height(), 75) << c.name;
        const Point tip = ShapeBalloon(placed.position, window, InstallerMetrics()).Tip();
        EXPECT_EQ((Point{placed.window.left + tip.x, placed.window.top + tip.y}), c.tip) << c.name;
    }
}

TEST(BalloonPlacement, StartsFromThePreferredPlacementAndStopsAfterFourTries) {
    const Size window{133, 75};
    // Preferring below-right: its own place when it fits.
    const Placement below = PlaceBalloon({640, 500}, window, {0, 0, 1280, 1024},
                                         THintPosition::hpBelowRight, InstallerMetrics());
    EXPECT_EQ(below.position, THintPosition::hpBelowRight);
    // A desktop smaller than the balloon: the last of four tries stands, after above-left.
    const Placement none = PlaceBalloon({50, 50}, window, {0, 0, 100, 100},
                                        THintPosition::hpAboveRight, InstallerMetrics());
    EXPECT_FALSE(none.fitted);
    EXPECT_EQ(none.position, THintPosition::hpAboveLeft);
}

TEST(BalloonParts, ContentCentredInTheBodyWithTitleIconAndCloseButtonAroundTheText) {
    const BalloonMetrics m = InstallerMetrics();
    const BalloonLayout layout = LayoutBalloon(L"Tip", L"abc", kMeasurer, m);
    const BalloonShape shape = ShapeBalloon(THintPosition::hpAboveLeft, layout.window, m);
    const BalloonParts parts = ArrangeBalloon(layout, shape, m);
    // Body 102 x 45 from (1, 0); content 24 x 36, 3 pixels below the centre.
    EXPECT_EQ(parts.content, (Rect{40, 7, 64, 43}));
    EXPECT_EQ(parts.text, (Rect{42, 24, 66, 60}));
    EXPECT_EQ(parts.title, (Rect{42, 7, 65, 23}));
    EXPECT_EQ(parts.icon, (Point{25, 8}));
    EXPECT_EQ(parts.closeButton, (Rect{65, 24, 79, 38}));
}

} // namespace
} // namespace ludrin::ui::hints
