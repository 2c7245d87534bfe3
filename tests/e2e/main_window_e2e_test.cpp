#include "app/main_window_layout.hpp"
#include "e2e/installer_driver.hpp"
#include "platform/text/text.hpp"
#include "support/test_arguments.hpp"

#include <gtest/gtest.h>

#include <iostream>

namespace ludrin::e2e {
namespace {

using app::ControlId;
using ludrin::testing::Argument;

class MainWindowE2E : public ::testing::Test {
protected:
    void SetUp() override {
        installer_ = std::make_unique<InstallerProcess>(Argument(L"installer"));
        window_ = installer_->MainWindow();
        ASSERT_NE(window_, nullptr) << "the installer's main window did not appear";
    }

    std::wstring TextOf(ControlId id) {
        return WindowText(FindControl(window_, static_cast<int>(id)));
    }

    std::unique_ptr<InstallerProcess> installer_;
    HWND window_ = nullptr;
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
}

TEST_F(MainWindowE2E, LabelsShowTheStartUpTexts) {
    EXPECT_EQ(TextOf(ControlId::LabelVersion), L"Versione: 1.0  Build: 1.0.0.0");
    EXPECT_EQ(TextOf(ControlId::LabelTitle), L"Installazione Ludrin");
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(TextOf(ControlId::LabelPanelCopyright),
              L"Copyright \u00A9 " + std::to_wstring(now.wYear) + L" - Suite Brenvoss");
    EXPECT_EQ(TextOf(ControlId::btnClose), L"Esce");
}

TEST_F(MainWindowE2E, EveryControlSitsWhereTheLayoutSaysAt96Dpi) {
    for (const auto& control : ListControls(window_)) {
        std::wcout << L"  control " << control.id << L" [" << control.className << L"] \""
                   << control.text.substr(0, 60) << L"\"\n";
    }
    for (const auto& spec : app::MainWindowControls()) {
        const HWND control = FindControl(window_, static_cast<int>(spec.id));
        ASSERT_NE(control, nullptr) << text::WideToUtf8(spec.name);
        const RECT rect = RectInParent(control);
        const app::Rect actual{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
        EXPECT_EQ(actual, spec.rect) << text::WideToUtf8(spec.name);
        const HWND parent = spec.parent == ControlId::Form
                                ? window_
                                : FindControl(window_, static_cast<int>(spec.parent));
        EXPECT_EQ(GetParent(control), parent) << text::WideToUtf8(spec.name);
    }
}

TEST_F(MainWindowE2E, CloseButtonEndsTheProgramWithExitCodeZero) {
    Click(FindControl(window_, static_cast<int>(ControlId::btnClose)));
    const auto code = installer_->WaitForExit();
    ASSERT_TRUE(code.has_value()) << "the installer did not end";
    EXPECT_EQ(*code, 0u);
}

} // namespace
} // namespace ludrin::e2e
