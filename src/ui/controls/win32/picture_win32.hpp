#pragma once
// A picture drawn from the installer's own artwork at the window's DPI: a plain one, or one
// with its mirror image fading below it (ReflectionImage).

#include "ui/controls/artwork.hpp"
#include "ui/controls/win32/subclassed_control.hpp"

#include <windows.h>

namespace ludrin::ui::win32 {

struct PictureStyle {
    Artwork artwork = Artwork::Emblem;
    int size = 32;              // the picture's side at 96 dpi
    bool reflection = false;    // mirror image below, over the rest of the control's height
    double reflectionStart = 1; // its opacity where it starts, 0 to 1
    COLORREF background = GetSysColor(COLOR_BTNFACE);
};

class Picture {
public:
    static HWND Create(HWND parent, int id, const PictureStyle& style);

private:
    friend class Subclassed<Picture>;
    Picture(HWND window, const PictureStyle& style) : hwnd_(window), style_(style) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Draw(const DRAWITEMSTRUCT& item);

    HWND hwnd_;
    PictureStyle style_;
    Image cache_; // the drawing at the last size painted
    int cachedSize_ = 0;
    int cachedHeight_ = 0;
};

} // namespace ludrin::ui::win32
