#pragma once
// What another process (the end-to-end test driver, assistive tools) may ask a balloon
// window. WM_GETTEXT answers the balloon's message; these add its close button.

namespace ludrin::ui::hints {

// Answers the close button's centre in window coordinates, as MAKELONG(x, y).
inline constexpr unsigned kBalloonGetCloseButtonMessage = 0x8000u + 0x148u; // WM_APP + 0x148
// Answers the close button's state as drawn: a CloseButtonState value.
inline constexpr unsigned kBalloonGetCloseStateMessage = 0x8000u + 0x149u; // WM_APP + 0x149

} // namespace ludrin::ui::hints
