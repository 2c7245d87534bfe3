// The main window on a desktop at another DPI (144 in the CTest run): every rectangle of
// the layout scaled, the texts unchanged, no caption cut.
#include "app/main_window_layout.hpp"
#include "e2e/installer_driver.hpp"
#include "e2e/main_window_checks.hpp"
#include "e2e/window_probe.hpp"
#include "support/test_arguments.hpp"
#include "ui/controls/glow_button_protocol.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ludrin::e2e {
namespace {

using app::ControlId;
using ludrin::testing::Argument;

TEST(MainWindowAtHighDpi, EveryControlIsScaledWithItsTextIntact) {
    const int dpi = std::stoi(Argument(L"dpi"));
    InstallerProcess installer(Argument(L"installer"));
    const HWND window = installer.MainWindow();
    ASSERT_NE(window, nullptr) << "the installer's main window did not appear";
    EXPECT_EQ(static_cast<int>(GetDpiForWindow(window)), dpi);

    RECT client;
    GetClientRect(window, &client);
    EXPECT_NEAR(client.right, app::ScaleToDpi(app::kClientWidth, dpi), 1);
    EXPECT_NEAR(client.bottom, app::ScaleToDpi(app::kClientHeight, dpi), 1);

    ExpectLayoutAt(window, dpi);

    for (const auto& spec : app::MainWindowControls()) {
        const HWND control = FindControl(window, static_cast<int>(spec.id));
        ASSERT_NE(control, nullptr);
        if (spec.kind == app::ControlKind::GlowButton) {
            EXPECT_EQ(WindowText(control), app::WindowTextOf(spec));
            const std::uint32_t state = GlowButtonState(control);
            EXPECT_NE(state & ui::kGlowPainted, 0u);
            EXPECT_EQ(state & ui::kGlowCaptionClipped, 0u) << text::WideToUtf8(spec.name);
        }
    }
    EXPECT_EQ(WindowText(FindControl(window, static_cast<int>(ControlId::LabelVersion))),
              L"Versione: 1.0  Build: 1.0.0.0");
    EXPECT_EQ(WindowText(FindControl(window, static_cast<int>(ControlId::LabelTitle))),
              L"Installazione Ludrin");
}

} // namespace
} // namespace ludrin::e2e
