#pragma once
// The balloon's close glyph: the theme's tool-tip close button when visual styles are on,
// otherwise a plain push-button face with an X.

#include "ui/hints/balloon_host.hpp"

#include <windows.h>

namespace ludrin::ui::hints::win32 {

Size CloseGlyphSize(HWND window, UINT dpi);
void DrawCloseGlyph(HWND window, HDC dc, const RECT& rect, CloseButtonState state);

} // namespace ludrin::ui::hints::win32
