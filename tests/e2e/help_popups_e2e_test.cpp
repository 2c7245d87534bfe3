#include "app/help_popups.hpp"
#include "app/main_window_layout.hpp"
#include "e2e/installer_driver.hpp"
#include "e2e/running_installer.hpp"
#include "e2e/window_probe.hpp"
#include "platform/text/utf.hpp"
#include "support/test_arguments.hpp"
#include "ui/hints/balloon_host.hpp"
#include "ui/hints/balloon_protocol.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace ludrin::e2e {
namespace {

using app::ControlId;

constexpr const wchar_t* kBalloonClass = L"TMessageHintWindow";

struct BalloonSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBalloon(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BalloonSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && IsWindowVisible(window) && ClassName(window) == kBalloonClass) {
        search->found.push_back(window);
    }
    return TRUE;
}

// The visible balloons of the process, top-level windows of their own class.
std::vector<HWND> Balloons(DWORD processId) {
    BalloonSearch search{processId, {}};
    EnumWindows(CollectBalloon, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The tip of the nose, on the screen: the bottom edge of the window's region, and the right
// edge of its lowest row of pixels (the nose's vertical side).
POINT NoseTip(HWND balloon) {
    const HRGN region = CreateRectRgn(0, 0, 0, 0);
    POINT tip{-1, -1};
    if (GetWindowRgn(balloon, region) != ERROR) {
        RECT box;
        GetRgnBox(region, &box);
        const int row = box.bottom - 1;
        for (int x = box.left; x < box.right; ++x) {
            if (PtInRegion(region, x, row)) {
                tip.x = x + 1;
            }
        }
        tip.y = box.bottom;
        RECT frame;
        GetWindowRect(balloon, &frame);
        tip.x += frame.left;
        tip.y += frame.top;
    }
    DeleteObject(region);
    return tip;
}

class HelpPopupsE2E : public RunningInstaller {
protected:
    POINT CentreOf(ControlId id) {
        RECT rect;
        GetWindowRect(Control(id), &rect);
        return {rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2};
    }

    // Waits until the process shows exactly `count` balloons.
    std::vector<HWND> WaitForBalloons(std::size_t count) {
        struct Probe {
            DWORD pid;
            std::size_t count;
        } probe{installer_->ProcessId(), count};
        Eventually(
            10s,
            [](void* p) {
                const auto* probe = static_cast<Probe*>(p);
                return Balloons(probe->pid).size() == probe->count;
            },
            &probe);
        return Balloons(installer_->ProcessId());
    }
};

TEST_F(HelpPopupsE2E, FirstHelpButtonPointsOneBalloonAtTheBaseInstallButton) {
    Click(Control(ControlId::btnHelpBase));
    const auto balloons = WaitForBalloons(1);
    ASSERT_EQ(balloons.size(), 1u);
    const HWND balloon = balloons[0];

    const POINT centre = CentreOf(ControlId::btnInstallaBase);
    const POINT tip = NoseTip(balloon);
    EXPECT_EQ(tip.x, centre.x);
    EXPECT_EQ(tip.y, centre.y - 1);
    EXPECT_EQ(WindowText(balloon), app::HelpItem(0).message);

    // Top-most, owned by the main window, and the keyboard stays with the button clicked.
    EXPECT_NE(GetWindowLongPtrW(balloon, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(balloon, GW_OWNER), window_);
    EXPECT_EQ(FocusedControl(window_), Control(ControlId::btnHelpBase));

    // Tool-tip fill inside, a navy outline at the body's edge.
    RECT frame;
    GetWindowRect(balloon, &frame);
    const int middle = (frame.top + frame.bottom) / 2;
    EXPECT_EQ(ScreenPixel({frame.left + 4, middle}), GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(ScreenPixel({frame.left + 1, middle}), RGB(0, 0, 0x80));
}

TEST_F(HelpPopupsE2E, OtherHelpButtonClosesTheFirstBalloonAndOpensItsOwn) {
    Click(Control(ControlId::btnHelpBase));
    const auto first = WaitForBalloons(1);
    ASSERT_EQ(first.size(), 1u);

    Click(Control(ControlId::btnHelpComplete));
    EXPECT_TRUE(WaitUntilClosed(first[0])) << "the first balloon stayed";
    const auto second = WaitForBalloons(1);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(WindowText(second[0]), app::HelpItem(1).message);
    const POINT centre = CentreOf(ControlId::btnInstallaComplete);
    const POINT tip = NoseTip(second[0]);
    EXPECT_EQ(tip.x, centre.x);
    EXPECT_EQ(tip.y, centre.y - 1);
}

TEST_F(HelpPopupsE2E, CloseButtonHidesTheBalloonWhichLivesOnUntilHidden) {
    Click(Control(ControlId::btnHelpBase));
    const auto balloons = WaitForBalloons(1);
    ASSERT_EQ(balloons.size(), 1u);
    const HWND balloon = balloons[0];
    const auto centre =
        static_cast<LPARAM>(SendMessageW(balloon, ui::hints::kBalloonGetCloseButtonMessage, 0, 0));
    const auto state = [&] {
        return static_cast<ui::hints::CloseButtonState>(
            SendMessageW(balloon, ui::hints::kBalloonGetCloseStateMessage, 0, 0));
    };
    SendMessageW(balloon, WM_MOUSEMOVE, 0, centre);
    EXPECT_EQ(state(), ui::hints::CloseButtonState::Hot);
    SendMessageW(balloon, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    EXPECT_EQ(state(), ui::hints::CloseButtonState::Pressed);
    SendMessageW(balloon, WM_LBUTTONUP, 0, centre);
    EXPECT_FALSE(IsWindowVisible(balloon));
    EXPECT_TRUE(IsWindow(balloon)) << "freed by its close button";

    // Still listed: the other help button frees it and opens its own.
    Click(Control(ControlId::btnHelpComplete));
    EXPECT_TRUE(WaitUntilClosed(balloon));
    const auto other = WaitForBalloons(1);
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(WindowText(other[0]), app::HelpItem(1).message);
}

TEST_F(HelpPopupsE2E, EsceClosesTwoOpenBalloonsAndTheWindow) {
    Click(Control(ControlId::btnHelpBase));
    ASSERT_EQ(WaitForBalloons(1).size(), 1u);
    Click(Control(ControlId::btnHelpBase));
    const auto balloons = WaitForBalloons(2);
    ASSERT_EQ(balloons.size(), 2u);
    // The second lies exactly over the first.
    RECT a, b;
    GetWindowRect(balloons[0], &a);
    GetWindowRect(balloons[1], &b);
    EXPECT_TRUE(EqualRect(&a, &b));

    Click(Control(ControlId::btnClose));
    for (const HWND balloon : balloons) {
        EXPECT_TRUE(WaitUntilClosed(balloon));
    }
    const auto code = installer_->WaitForExit();
    ASSERT_TRUE(code.has_value()) << "the installer did not end";
    EXPECT_EQ(*code, 0u);
}

} // namespace
} // namespace ludrin::e2e
