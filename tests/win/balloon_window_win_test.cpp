// The balloon windows for real under Wine: text measured by the system, the window's region,
// its styles and its close button driven by mouse messages.
#include "ui/hints/balloon_protocol.hpp"
#include "ui/hints/message_hint.hpp"
#include "ui/hints/win32/balloon_host_win32.hpp"
#include "ui/hints/win32/balloon_window_win32.hpp"

#include <windows.h>

#include <gtest/gtest.h>

namespace ludrin::ui::hints::win32 {
namespace {

class BalloonWindowWin : public ::testing::Test {
protected:
    BalloonWindowWin() {
        host_.SetDpi(96);
        hint_.SetAllowMultipleHints(true);
        hint_.RightAngledNose = true;
        hint_.NoseLength = 30;
        hint_.NoseWidth = 30;
        hint_.RoundRectWidth = 25;
    }

    Size Measure(const wchar_t* text, int maxWidth = 1000) const {
        return host_.Measurer().Measure(text, HintFont::Text, maxWidth);
    }

    // The window of the balloon last opened.
    HWND LastBalloon() const {
        return FindWindowExW(nullptr, nullptr, BalloonWindowWin32::kClassName, nullptr);
    }

    BalloonHostWin32 host_;
    TMessageHint hint_{host_};
};

TEST_F(BalloonWindowWin, TextIsMeasuredWithLineBreaksTabsAndWrapping) {
    const Size line = Measure(L"ab");
    ASSERT_GT(line.height, 0);
    // CR LF breaks the line, and a leading one is an empty first line.
    EXPECT_EQ(Measure(L"\r\nab").height, 2 * line.height);
    EXPECT_EQ(Measure(L"ab\r\nab\r\nab").height, 3 * line.height);
    // A tab stands for more than a blank.
    EXPECT_GT(Measure(L"a\tb").width, Measure(L"a b").width);
    // Words wrap within the width; an ampersand is a character like any other.
    const Size wrapped = Measure(L"word word word word word word word word word word", 80);
    EXPECT_LE(wrapped.width, 80);
    EXPECT_GT(wrapped.height, 2 * line.height);
    EXPECT_GT(Measure(L"a&&b").width, Measure(L"a&b").width);
}

TEST_F(BalloonWindowWin, RegionJoinsBodyAndNoseWhicheverWayTheBalloonFaces) {
    const int cx = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int cy = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const struct {
        const char* name;
        POINT anchor;
        THintPosition position;
        POINT tipOffset; // where the tip lands from the anchor
    } cases[] = {
        {"room everywhere", {cx / 2, cy / 2}, THintPosition::hpAboveLeft, {0, -1}},
        {"at the left edge", {20, cy / 2}, THintPosition::hpAboveRight, {0, -1}},
        {"at the top-right corner", {cx - 20, 20}, THintPosition::hpBelowLeft, {-2, 1}},
        {"at the top-left corner", {20, 20}, THintPosition::hpBelowRight, {5, 1}},
    };
    for (const auto& c : cases) {
        hint_.ShowMessage(L"Some text\r\nover two lines", c.anchor.x, c.anchor.y, L"Title",
                          std::nullopt, THintIcon::hitInfo, 0);
        const auto& window = *hint_.Windows().back();
        const BalloonPicture& picture = window.Picture();
        ASSERT_EQ(picture.position, c.position) << c.name;
        const HWND balloon = LastBalloon();
        ASSERT_NE(balloon, nullptr) << c.name;

        const HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(balloon, region), ERROR) << c.name;
        RECT frame;
        GetWindowRect(balloon, &frame);
        const Point tip = picture.shape.Tip();
        EXPECT_EQ(frame.left + tip.x, c.anchor.x + c.tipOffset.x) << c.name;
        EXPECT_EQ(frame.top + tip.y, c.anchor.y + c.tipOffset.y) << c.name;
        // The nose's base row and the body's row next to it are both inside: no gap.
        const int baseY = picture.shape.nose[0].y;
        const int middleX = (picture.shape.nose[0].x + picture.shape.nose[1].x) / 2;
        const bool above =
            c.position == THintPosition::hpAboveLeft || c.position == THintPosition::hpAboveRight;
        for (const int y : {baseY - 1, baseY, above ? baseY + 1 : baseY - 2}) {
            EXPECT_TRUE(PtInRegion(region, middleX, y)) << c.name << " row " << y;
        }
        // Nothing lies beyond the tip; pointing up, the nose's first row of pixels is the
        // one under the tip's vertex.
        RECT box;
        GetRgnBox(region, &box);
        if (above) {
            EXPECT_EQ(box.bottom, tip.y) << c.name;
        } else {
            EXPECT_EQ(box.top, tip.y + 1) << c.name;
        }
        DeleteObject(region);
        hint_.HideMessages(-1);
    }
}

TEST_F(BalloonWindowWin, ShowsTopMostWithoutActivatingAndAnswersItsText) {
    hint_.ShowMessage(L"The message", 400, 400, L"T", std::nullopt, THintIcon::hitInfo, 0);
    const HWND balloon = LastBalloon();
    ASSERT_NE(balloon, nullptr);
    EXPECT_TRUE(IsWindowVisible(balloon));
    const auto exStyle = GetWindowLongPtrW(balloon, GWL_EXSTYLE);
    EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
    EXPECT_NE(exStyle & WS_EX_NOACTIVATE, 0);
    EXPECT_NE(GetForegroundWindow(), balloon);
    EXPECT_EQ(SendMessageW(balloon, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    wchar_t text[64] = {};
    GetWindowTextW(balloon, text, 64);
    EXPECT_STREQ(text, L"The message");
}

TEST_F(BalloonWindowWin, CloseButtonHidesTheWindowAndHideMessagesDestroysIt) {
    hint_.ShowMessage(L"The message", 400, 400, L"T", std::nullopt, THintIcon::hitInfo, 0);
    const HWND balloon = LastBalloon();
    ASSERT_NE(balloon, nullptr);
    const LPARAM centre = SendMessageW(balloon, kBalloonGetCloseButtonMessage, 0, 0);
    const auto state = [&] {
        return static_cast<CloseButtonState>(
            SendMessageW(balloon, kBalloonGetCloseStateMessage, 0, 0));
    };
    SendMessageW(balloon, WM_MOUSEMOVE, 0, centre);
    EXPECT_EQ(state(), CloseButtonState::Hot);
    SendMessageW(balloon, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(state(), CloseButtonState::Normal);
    SendMessageW(balloon, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    EXPECT_EQ(state(), CloseButtonState::Pressed);
    EXPECT_EQ(GetCapture(), balloon); // follows the pointer until released
    SendMessageW(balloon, WM_LBUTTONUP, 0, centre);
    EXPECT_EQ(GetCapture(), nullptr);

    EXPECT_TRUE(IsWindow(balloon));
    EXPECT_FALSE(IsWindowVisible(balloon));
    EXPECT_TRUE(hint_.IsDisplaying());
    hint_.HideMessages(0);
    EXPECT_FALSE(IsWindow(balloon));
    EXPECT_FALSE(hint_.IsDisplaying());
}

} // namespace
} // namespace ludrin::ui::hints::win32
