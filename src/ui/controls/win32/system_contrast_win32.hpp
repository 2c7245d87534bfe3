#pragma once
// Whether the user runs a high-contrast theme, and its colours. Asked at every paint, so a
// theme switched while the window is open shows at the next redraw.

#include "ui/controls/high_contrast.hpp"

#include <windows.h>

#include <optional>

namespace ludrin::ui::win32 {

bool HighContrastOn();
SystemColours CurrentSystemColours();

// The flat panel colours under a high-contrast theme; none otherwise.
std::optional<FlatColours> HighContrastPanelNow();

} // namespace ludrin::ui::win32
