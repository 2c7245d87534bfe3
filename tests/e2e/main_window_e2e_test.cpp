#include "app/main_window_layout.hpp"
#include "e2e/installer_driver.hpp"
#include "e2e/main_window_checks.hpp"
#include "e2e/running_installer.hpp"
#include "e2e/window_probe.hpp"
#include "platform/text/utf.hpp"
#include "support/test_arguments.hpp"
#include "ui/controls/glow_button_protocol.hpp"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <iostream>
#include <thread>

namespace ludrin::e2e {
namespace {

using app::ControlId;
using app::ControlKind;
using ludrin::testing::Argument;

class MainWindowE2E : public RunningInstaller {
protected:
    std::wstring TextOf(ControlId id) { return WindowText(Control(id)); }

    // Waits until the glow button's state bits include (or lack) the flag.
    bool WaitForState(HWND button, std::uint32_t flag, bool on) {
        struct Probe {
            HWND button;
            std::uint32_t flag;
            bool on;
        } probe{button, flag, on};
        return Eventually(
            5s,
            [](void* p) {
                const auto* probe = static_cast<Probe*>(p);
                return ((GlowButtonState(probe->button) & probe->flag) != 0) == probe->on;
            },
            &probe);
    }
};

TEST_F(MainWindowE2E, WindowHasTheFixedClientSizeAndNoCaption) {
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 775);
    EXPECT_EQ(client.bottom, 309);
    EXPECT_EQ(WindowText(window_), L"");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
    EXPECT_EQ(style & WS_SYSMENU, 0u);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_DLGFRAME)); // a frame, no title bar

    // Centred on the screen.
    RECT frame;
    GetWindowRect(window_, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(GetDpiForWindow(window_), 96u);
}

TEST_F(MainWindowE2E, ExecutableCarriesTheApplicationIcon) {
    const HMODULE image = LoadLibraryExW(Argument(L"installer").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    const HRSRC group = FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr) << "no icon group 1";
    // The icon at the size Explorer shows most often.
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(image, group)));
    ASSERT_NE(directory, nullptr);
    EXPECT_GT(LookupIconIdFromDirectoryEx(const_cast<BYTE*>(directory), TRUE, 32, 32, 0), 0);
    FreeLibrary(image);
}

TEST_F(MainWindowE2E, LabelsShowTheStartUpTexts) {
    EXPECT_EQ(TextOf(ControlId::LabelVersion), L"Versione: 1.0  Build: 1.0.0.0");
    EXPECT_EQ(TextOf(ControlId::LabelTitle), L"Installazione Ludrin");
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(TextOf(ControlId::LabelPanelCopyright),
              L"Copyright \u00A9 " + std::to_wstring(now.wYear) + L" - Suite Brenvoss");
    // Raised 3D labels are static controls whose window text is what they show.
    for (const auto id :
         {ControlId::LabelTitle, ControlId::LabelVersion, ControlId::LabelPanelCopyright}) {
        EXPECT_EQ(ClassName(Control(id)), L"Static");
    }
}

TEST_F(MainWindowE2E, EveryButtonHasItsCaptionOrNameAndItFits) {
    for (const auto& spec : app::MainWindowControls()) {
        if (spec.kind != ControlKind::GlowButton) {
            continue;
        }
        const std::string name = text::WideToUtf8(spec.name);
        const HWND button = Control(spec.id);
        EXPECT_EQ(ClassName(button), L"Button") << name;
        // The image-only help buttons carry their hint as the name a screen reader reads.
        EXPECT_EQ(WindowText(button), app::WindowTextOf(spec)) << name;
        EXPECT_NE(GetWindowLongPtrW(button, GWL_STYLE) & WS_TABSTOP, 0) << name;
        const std::uint32_t state = GlowButtonState(button);
        EXPECT_NE(state & ui::kGlowPainted, 0u) << name << " paints itself";
        EXPECT_EQ(state & ui::kGlowCaptionClipped, 0u) << name << "'s caption is cut";
    }
}

TEST_F(MainWindowE2E, IntroductionHoldsTheNineLines) {
    const HWND edit = Control(ControlId::reMsg);
    EXPECT_FALSE(IsWindowEnabled(edit));
    EXPECT_NE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY, 0);
    std::wstring text = WindowText(edit);
    // Rich edit answers paragraphs ending in CR LF or in CR alone.
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == L'\r' || text[i] == L'\n') {
            lines.push_back(text.substr(start, i - start));
            if (i + 1 < text.size() && text[i] == L'\r' && text[i + 1] == L'\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    const std::wstring expected(app::IntroductionText());
    std::vector<std::wstring> expectedLines;
    start = 0;
    for (std::size_t end; (end = expected.find(L"\r\n", start)) != std::wstring::npos;
         start = end + 2) {
        expectedLines.push_back(expected.substr(start, end - start));
    }
    expectedLines.push_back(expected.substr(start));
    ASSERT_EQ(expectedLines.size(), 9u);
    EXPECT_EQ(lines, expectedLines) << text::WideToUtf8(text);
}

TEST_F(MainWindowE2E, EveryControlSitsWhereTheLayoutSaysAt96Dpi) {
    for (const auto& control : ListControls(window_)) {
        std::wcout << L"  control " << control.id << L" [" << control.className << L"] \""
                   << control.text.substr(0, 60) << L"\"\n";
    }
    ExpectLayoutAt(window_, 96);
    EXPECT_EQ(ProgressPosition(Control(ControlId::ProgressBar1)), 0);
    EXPECT_EQ(SendMessageW(Control(ControlId::ProgressBar1), PBM_GETRANGE, FALSE, 0), 100);
}

TEST_F(MainWindowE2E, TabVisitsTheButtonsInTheTabOrderAndSpaceClicks) {
    const std::vector<ControlId> order = app::TabSequence();
    ASSERT_EQ(order.size(), 6u);
    struct Probe {
        HWND window, expected;
    };
    const auto focusIs = [](void* p) {
        const auto* probe = static_cast<Probe*>(p);
        return FocusedControl(probe->window) == probe->expected;
    };
    // The form starts on the first control of its tab order.
    Probe first{window_, Control(order[0])};
    ASSERT_TRUE(Eventually(5s, focusIs, &first)) << "the first button has no focus";
    for (std::size_t i = 1; i <= order.size(); ++i) {
        PressKey(FocusedControl(window_), VK_TAB);
        Probe probe{window_, Control(order[i % order.size()])};
        EXPECT_TRUE(Eventually(5s, focusIs, &probe)) << "step " << i;
    }
    const HWND focused = FocusedControl(window_);
    ASSERT_EQ(focused, Control(ControlId::btnClose));
    EXPECT_NE(GlowButtonState(focused) & ui::kGlowFocused, 0u);
    // Space on the focused close button clicks it: the installer ends.
    PressKey(focused, VK_SPACE);
    const auto code = installer_->WaitForExit();
    ASSERT_TRUE(code.has_value()) << "Space did not click the focused button";
    EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindowE2E, EnterClicksTheFocusedButton) {
    const HWND close = Control(ControlId::btnClose);
    struct Probe {
        HWND window, expected;
    } probe{window_, close};
    ASSERT_TRUE(Eventually(
        5s,
        [](void* p) {
            const auto* probe = static_cast<Probe*>(p);
            return FocusedControl(probe->window) == probe->expected;
        },
        &probe));
    PressKey(close, VK_RETURN);
    const auto code = installer_->WaitForExit();
    ASSERT_TRUE(code.has_value()) << "Enter did not click the focused button";
    EXPECT_EQ(*code, 0u);
}

TEST_F(MainWindowE2E, HoveringAGlowButtonLightsItAndShowsItsBalloon) {
    const HWND button = Control(ControlId::btnDisinstalla);
    MovePointerAway();
    ASSERT_TRUE(WaitForState(button, ui::kGlowHot, false));
    RECT rect;
    GetWindowRect(button, &rect);
    // A point of the face between the image and the border.
    const POINT spot{rect.left + 6, rect.top + 6};
    const COLORREF resting = ScreenPixel(spot);

    HoverOver(button);
    ASSERT_TRUE(WaitForState(button, ui::kGlowHot, true)) << "the button did not turn hot";
    struct Probe {
        POINT spot;
        COLORREF resting;
    } probe{spot, resting};
    EXPECT_TRUE(Eventually(
        5s,
        [](void* p) {
            const auto* probe = static_cast<Probe*>(p);
            return ScreenPixel(probe->spot) != probe->resting;
        },
        &probe))
        << "the hot button looks the same";

    const HWND tip = WaitForToolTip(installer_->ProcessId(), 5s);
    ASSERT_NE(tip, nullptr) << "no tool tip appeared";
    EXPECT_NE(GetWindowLongPtrW(tip, GWL_STYLE) & TTS_BALLOON, 0);
    EXPECT_EQ(WindowText(tip), L"Disinstalla Ludrin");

    MovePointerAway();
    EXPECT_TRUE(WaitForState(button, ui::kGlowHot, false)) << "the button stayed hot";
}

TEST_F(MainWindowE2E, CloseButtonEndsTheProgramWithExitCodeZero) {
    Click(Control(ControlId::btnClose));
    const auto code = installer_->WaitForExit();
    ASSERT_TRUE(code.has_value()) << "the installer did not end";
    EXPECT_EQ(*code, 0u);
}

} // namespace
} // namespace ludrin::e2e
