#pragma once
// What another process (the end-to-end test driver, assistive tools) may ask a glow button.
// Glow buttons are ordinary "Button" windows, so BM_CLICK, WM_GETTEXT and the keyboard work
// as with any button; this one message adds what the eye sees.

#include <cstdint>

namespace ludrin::ui {

// Sent to a glow button: answers a combination of the GlowStateFlag bits.
inline constexpr unsigned kGlowGetStateMessage = 0x8000u + 0x147u; // WM_APP + 0x147

enum GlowStateFlag : std::uint32_t {
    kGlowHot = 1,            // the pointer is over the button
    kGlowDown = 2,           // pressed
    kGlowFocused = 4,        // has the keyboard focus
    kGlowCaptionClipped = 8, // the last painting had to cut the caption
    kGlowPainted = 16,       // painted at least once
};

} // namespace ludrin::ui
