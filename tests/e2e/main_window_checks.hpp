#pragma once
// Checks of the main window shared by the 96-dpi and the 144-dpi runs: every control of the
// layout table at its rectangle scaled to the window's DPI, under its parent.

#include "app/main_window_layout.hpp"
#include "e2e/installer_driver.hpp"
#include "platform/text/utf.hpp"

#include <gtest/gtest.h>

namespace ludrin::e2e {

inline app::ControlBounds ActualRect(HWND control) {
    const RECT rect = RectInParent(control);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// Every control where the table puts it, scaled to `dpi` (within one pixel when scaled).
// LabelVersion sizes itself to its text: its top and height are checked, and that it
// holds the whole text inside its panel.
inline void ExpectLayoutAt(HWND window, int dpi) {
    const int tolerance = dpi == app::kDesignDpi ? 0 : 1;
    for (const auto& spec : app::MainWindowControls()) {
        const std::string name = text::WideToUtf8(spec.name);
        const HWND control = FindControl(window, static_cast<int>(spec.id));
        ASSERT_NE(control, nullptr) << name;
        const HWND parent = spec.parent == app::ControlId::Form
                                ? window
                                : FindControl(window, static_cast<int>(spec.parent));
        EXPECT_EQ(GetParent(control), parent) << name;
        const app::ControlBounds actual = ActualRect(control);
        const app::ControlBounds expected{
            app::ScaleToDpi(spec.rect.left, dpi), app::ScaleToDpi(spec.rect.top, dpi),
            app::ScaleToDpi(spec.rect.width, dpi), app::ScaleToDpi(spec.rect.height, dpi)};
        EXPECT_NEAR(actual.top, expected.top, tolerance) << name;
        EXPECT_NEAR(actual.height, expected.height, tolerance) << name;
        if (spec.id == app::ControlId::LabelVersion) {
            RECT panel;
            GetClientRect(parent, &panel);
            EXPECT_LE(actual.left, expected.left) << name;
            EXPECT_LE(actual.left + actual.width, panel.right) << name;
            EXPECT_GT(actual.width, expected.width) << name << ": sized to the long text";
            continue;
        }
        EXPECT_NEAR(actual.left, expected.left, tolerance) << name;
        EXPECT_NEAR(actual.width, expected.width, tolerance) << name;
    }
}

} // namespace ludrin::e2e
