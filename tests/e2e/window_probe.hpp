#pragma once
// What the eye and the hand do with the installer's window, from another process: the
// pointer over a control, keys to the focused one, the focus itself, balloons and pixels.

#include <windows.h>

#include <chrono>
#include <cstdint>

namespace ludrin::e2e {

// The glow button's state bits (ui::GlowStateFlag), read through its own message.
std::uint32_t GlowButtonState(HWND button);

// The window that holds the keyboard focus in the thread that owns `window`.
HWND FocusedControl(HWND window);

// A key pressed and released, as the message loop of the window's thread receives it.
void PressKey(HWND target, UINT virtualKey);

// Moves the pointer to the centre of a control (and tells the control it moved).
void HoverOver(HWND control);
// Moves the pointer to a spot of the screen far from every control.
void MovePointerAway();

// A visible tool-tip window of the process, within the timeout.
HWND WaitForToolTip(DWORD processId, std::chrono::milliseconds timeout);

// One pixel of the screen, as shown.
COLORREF ScreenPixel(POINT point);

// Waits until the predicate holds, polling every 50 ms.
bool Eventually(std::chrono::milliseconds timeout, bool (*probe)(void*), void* context);

} // namespace ludrin::e2e
