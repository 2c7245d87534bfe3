#include "app/form_main.hpp"
#include "app/help_popups.hpp"
#include "operation_test.hpp"
#include "support/recording_view.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace ludrin::app {
namespace {

using ludrin::testing::RecordingView;
using ui::hints::Point;
using ui::hints::THintIcon;

class HelpPopups : public ::testing::Test {
protected:
    HelpPopups() { form_.FormCreate(); }

    const ui::hints::BalloonPicture& Shown(std::size_t i) const {
        return view_.balloons.Alive().at(i)->picture;
    }
    // The nose's tip on the screen.
    Point TipOf(const ui::hints::BalloonPicture& picture) const {
        return {picture.window.left + picture.shape.Tip().x,
                picture.window.top + picture.shape.Tip().y};
    }
    Point CentreOf(ControlId id) const {
        const auto rect = view_.controls.at(id).rect;
        return {rect.left + rect.Width() / 2, rect.top + rect.Height() / 2};
    }

    RecordingView view_;
    TFormMain form_{view_};
};

std::size_t LineCount(std::wstring_view text) {
    std::size_t lines = 1;
    for (std::size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring_view::npos; at += 2) {
        ++lines;
    }
    return lines;
}

TEST_F(HelpPopups, FormCreateFillsTheTwoItemsWithTheirAnchorsAndTexts) {
    const auto& items = form_.MessageHintController.Items;
    ASSERT_EQ(items.Count(), 2u);
    EXPECT_EQ(items[0].Title, L"  Installazione Ludrin - Base.");
    EXPECT_EQ(items[1].Title, L"  Installazione Funzionalit\u00E0 Avanzate.");
    EXPECT_EQ(items[0].Control, view_.HintControlOf(ControlId::btnInstallaBase));
    EXPECT_EQ(items[1].Control, view_.HintControlOf(ControlId::btnInstallaComplete));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(items[i].DisplayOrder(), static_cast<int>(i));
        EXPECT_EQ(items[i].Icon, THintIcon::hitInfo);
        EXPECT_FALSE(items[i].Color.has_value());
        // Both open on an empty line and end with a line break.
        EXPECT_TRUE(items[i].MessageString.starts_with(L"\r\nCliccare su questo pulsante "));
        EXPECT_TRUE(items[i].MessageString.ends_with(L"\r\n"));
    }
    // The indented lines keep their blanks: 15 and 9 in the first message, 13 in the second.
    const std::wstring& base = items[0].MessageString;
    EXPECT_NE(base.find(L"\r\n" + std::wstring(15, L' ') + L"L'ISTALLAZIONE BASE NON"),
              std::wstring::npos);
    EXPECT_NE(base.find(L"\r\nIL PROGRAMMA VERR\u00C0 INSTALLATO"), std::wstring::npos);
    EXPECT_NE(base.find(L"\r\n" + std::wstring(9, L' ') + L"VERR\u00C0 CREATO"),
              std::wstring::npos);
    EXPECT_EQ(LineCount(base), 21u);
    const std::wstring& complete = items[1].MessageString;
    EXPECT_NE(complete.find(L"\r\n" + std::wstring(13, L' ') + L"PER PROCEDERE DEVE"),
              std::wstring::npos);
    EXPECT_EQ(LineCount(complete), 9u);

    EXPECT_TRUE(form_.mhint.RightAngledNose);
    EXPECT_EQ(form_.mhint.Position, ui::hints::THintPosition::hpAboveLeft);
    EXPECT_TRUE(form_.mhint.AllowMultipleHints());
    EXPECT_FALSE(form_.mhint.SetCapture());
}

TEST_F(HelpPopups, EachHelpButtonPointsItsBalloonAtItsInstallButton) {
    form_.btnHelpBaseClick();
    ASSERT_EQ(view_.balloons.Alive().size(), 1u);
    EXPECT_EQ(Shown(0).text, HelpItem(0).message);
    EXPECT_EQ(Shown(0).title, HelpItem(0).title);
    EXPECT_EQ(Shown(0).position, ui::hints::THintPosition::hpAboveLeft);
    const Point base = CentreOf(ControlId::btnInstallaBase);
    EXPECT_EQ(TipOf(Shown(0)), (Point{base.x, base.y - 1}));

    // The other button closes this balloon and opens its own.
    form_.btnHelpCompleteClick();
    ASSERT_EQ(view_.balloons.Alive().size(), 1u);
    EXPECT_EQ(view_.balloons.Alive()[0]->number, 1);
    EXPECT_EQ(Shown(0).text, HelpItem(1).message);
    const Point complete = CentreOf(ControlId::btnInstallaComplete);
    EXPECT_EQ(TipOf(Shown(0)), (Point{complete.x, complete.y - 1}));

    form_.btnHelpBaseClick();
    ASSERT_EQ(view_.balloons.Alive().size(), 1u);
    EXPECT_EQ(Shown(0).text, HelpItem(0).message);
}

TEST_F(HelpPopups, TheSameHelpButtonTwiceOpensASecondBalloonOverTheFirst) {
    form_.btnHelpBaseClick();
    form_.btnHelpBaseClick();
    ASSERT_EQ(view_.balloons.Alive().size(), 2u);
    EXPECT_EQ(Shown(0).window, Shown(1).window);
    EXPECT_EQ(view_.balloons.Visible(), 2);
}

TEST_F(HelpPopups, TheInstallerBalloonsLayoutAt96DpiOnA1280PixelWorkArea) {
    // Text 6 x 13 and title 7 x 14 pixels a character, lines at most 320 pixels (53
    // characters), a 16-pixel icon and a 14-pixel close glyph. The first message wraps to 33
    // lines 318 pixels wide, the second to 14 lines 306 wide; each balloon sits above and to
    // the left of its button's centre, moved right by the nose (30 + 20).
    using ui::hints::Rect;
    const struct {
        void (TFormMain::*click)();
        Rect window, body, text, title;
        Point icon;
        Rect close;
    } cases[] = {
        {&TFormMain::btnHelpBaseClick,
         {193, 61, 595, 552},
         {1, 0, 372, 461},
         {26, 24, 350, 476},
         {26, 7, 238, 23},
         {9, 8},
         {349, 24, 363, 38}},
        {&TFormMain::btnHelpCompleteClick,
         {205, 367, 595, 611},
         {1, 0, 360, 214},
         {26, 24, 338, 229},
         {26, 7, 294, 23},
         {9, 8},
         {337, 24, 351, 38}},
    };
    for (const auto& c : cases) {
        (form_.*c.click)();
        const auto& p = Shown(0);
        EXPECT_EQ(p.window, c.window);
        EXPECT_EQ(p.shape.body, c.body);
        EXPECT_EQ(p.parts.text, c.text);
        EXPECT_EQ(p.parts.title, c.title);
        EXPECT_EQ(p.parts.icon, c.icon);
        EXPECT_EQ(p.parts.closeButton, c.close);
        // Title, icon and close button lie inside the body, clear of its rounded corners.
        const Rect inner{p.shape.body.left + 6, p.shape.body.top + 6, p.shape.body.right - 6,
                         p.shape.body.bottom - 6};
        for (const Point corner :
             {Point{p.parts.title.left, p.parts.title.top}, Point{p.parts.icon.x, p.parts.icon.y},
              Point{p.parts.closeButton.right - 1, p.parts.closeButton.bottom - 1}}) {
            EXPECT_TRUE(ui::hints::Contains(inner, corner)) << corner.x << "," << corner.y;
        }
    }
}

// Every operation and the close button close every balloon, duplicates included, before
// anything else happens.
class HelpBalloonsGoFirst : public testing::OperationTest,
                            public ::testing::WithParamInterface<void (TFormMain::*)()> {};

TEST_P(HelpBalloonsGoFirst, BeforeTheFirstMessageOrTheWindowClosing) {
    form_.FormCreate();
    form_.btnHelpBaseClick();
    form_.btnHelpBaseClick();
    form_.MessageHintController.ShowMessages(1);
    ASSERT_EQ(view_.balloons.Alive().size(), 3u);

    (form_.*GetParam())();
    EXPECT_TRUE(view_.balloons.Alive().empty());
    EXPECT_FALSE(form_.mhint.IsDisplaying());
    if (view_.closed > 0) {
        EXPECT_EQ(view_.balloonsAtClose, 0u);
    } else {
        ASSERT_FALSE(view_.balloonsAtMessages.empty());
        EXPECT_EQ(view_.balloonsAtMessages.front(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, HelpBalloonsGoFirst,
                         ::testing::Values(&TFormMain::btnInstallaBaseClick,
                                           &TFormMain::btnInstallaCompleteClick,
                                           &TFormMain::btnDisinstallaClick,
                                           &TFormMain::btnCloseClick));

} // namespace
} // namespace ludrin::app
