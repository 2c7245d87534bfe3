#pragma once
// A label with raised 3D text: a "Static" window whose window text is the text shown (so
// assistive technology and the test driver read it), painted with a light edge above-left
// and a shadow below-right of the coloured text.

#include "ui/controls/win32/subclassed_control.hpp"

#include <windows.h>

#include <string>

namespace ludrin::ui::win32 {

struct Label3DStyle {
    COLORREF colour = RGB(0, 0, 0);
    bool centred = true; // otherwise left and top aligned
    // Grows or shrinks to the right to fit its text (top and height stay); moves left
    // rather than let its parent cut the end of the text.
    bool autoSize = false;
    COLORREF background = GetSysColor(COLOR_BTNFACE);
};

class Label3D {
public:
    static HWND Create(HWND parent, int id, const std::wstring& text, const Label3DStyle& style);

private:
    friend class Subclassed<Label3D>;
    Label3D(HWND window, const Label3DStyle& style) : hwnd_(window), style_(style) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Draw(const DRAWITEMSTRUCT& item);
    void FitToText();
    int Depth() const;

    HWND hwnd_;
    Label3DStyle style_;
    HFONT font_ = nullptr;
};

} // namespace ludrin::ui::win32
