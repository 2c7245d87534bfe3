#pragma once
// Owner-drawn controls paint themselves: a parent hands WM_DRAWITEM back to the control as
// kReflectedDrawItem (the usual OCM_ reflection), so no parent needs to know how.

#include <windows.h>

namespace ludrin::ui::win32 {

inline constexpr UINT kReflectedDrawItem = WM_USER + 0x1C00 + WM_DRAWITEM;

// For a parent's WM_DRAWITEM: true when the control painted itself.
inline bool ReflectDrawItem(LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    return item != nullptr && item->hwndItem != nullptr &&
           SendMessageW(item->hwndItem, kReflectedDrawItem, 0, lParam) != 0;
}

inline int ScaleForWindow(HWND window, int length) {
    return MulDiv(length, static_cast<int>(GetDpiForWindow(window)), 96);
}

} // namespace ludrin::ui::win32
