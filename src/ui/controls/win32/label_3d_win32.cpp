#include "ui/controls/win32/label_3d_win32.hpp"

#include "ui/controls/win32/owner_draw.hpp"
#include "ui/controls/win32/paint_buffer.hpp"
#include "ui/controls/win32/system_contrast_win32.hpp"

#include <commctrl.h>

#include <algorithm>
#include <optional>

namespace ludrin::ui::win32 {
namespace {

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

} // namespace

HWND Label3D::Create(HWND parent, int id, const std::wstring& text, const Label3DStyle& style) {
    // Owner-drawn, so the static control keeps the text but never paints it flat.
    return Subclassed<Label3D>::Create(WC_STATICW, text.c_str(),
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW,
                                       parent, id, style);
}

LRESULT Label3D::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectedDrawItem:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT: {
        const LRESULT result = DefSubclassProc(hwnd_, message, wParam, lParam);
        FitToText();
        InvalidateRect(hwnd_, nullptr, FALSE);
        return result;
    }
    case WM_WINDOWPOSCHANGED: {
        // A rectangle set from outside (a DPI change) gives way to the text's own width.
        const LRESULT result = DefSubclassProc(hwnd_, message, wParam, lParam);
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if ((pos->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE)) {
            FitToText();
        }
        return result;
    }
    default:
        break;
    }
    const LRESULT result = DefSubclassProc(hwnd_, message, wParam, lParam);
    if (message == WM_SETFONT) {
        FitToText();
    }
    return result;
}

int Label3D::Depth() const {
    return std::max(ScaleForWindow(hwnd_, 1), 1);
}

void Label3D::FitToText() {
    if (!style_.autoSize || font_ == nullptr) {
        return;
    }
    const std::wstring text = TextOf(hwnd_);
    const HDC dc = GetDC(hwnd_);
    const HGDIOBJ old = SelectObject(dc, font_);
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    // Slanted glyphs reach past their advance: the last one needs room of its own.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int overhang = metrics.tmItalic != 0 ? (metrics.tmAscent + 2) / 3 : 0;
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    // Room for the light edge on the left and the shadow on the right.
    const int width = size.cx + overhang + 2 * Depth();
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    const HWND parent = GetParent(hwnd_);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
    // Growing to the right, but never under the parent's bevel: a label cut off there
    // would hide the end of the text, so it moves left instead.
    RECT inside;
    GetClientRect(parent, &inside);
    const int limit = inside.right - Depth();
    const int left = rc.left + width > limit ? std::max(limit - width, 0) : rc.left;
    if (rc.right - rc.left != width || rc.left != left) {
        SetWindowPos(hwnd_, nullptr, left, rc.top, width, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Label3D::Draw(const DRAWITEMSTRUCT& item) {
    const RECT& rc = item.rcItem;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    PaintBuffer buffer(item.hDC, width, height);
    const HDC dc = buffer.Dc();
    // High contrast: flat text in the theme's colours, without the raised edges.
    const std::optional<FlatColours> flat = HighContrastPanelNow();
    const HBRUSH background = CreateSolidBrush(flat ? ToColorRef(flat->face) : style_.background);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, background);
    DeleteObject(background);

    const std::wstring text = TextOf(hwnd_);
    const HGDIOBJ oldFont = font_ != nullptr ? SelectObject(dc, font_) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP |
                        (style_.centred ? DT_CENTER | DT_VCENTER : DT_LEFT | DT_TOP);
    const int d = Depth();
    const auto draw = [&](int dx, int dy, COLORREF colour) {
        RECT box{d + dx, dy, width - d + dx, height + dy};
        SetTextColor(dc, colour);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    };
    if (flat) {
        draw(0, 0, ToColorRef(flat->text));
    } else {
        // Raised: lit from the top left.
        draw(-d, -d, GetSysColor(COLOR_BTNHIGHLIGHT));
        draw(d, d, GetSysColor(COLOR_BTNSHADOW));
        draw(0, 0, style_.colour);
    }
    if (oldFont != nullptr) {
        SelectObject(dc, oldFont);
    }
    buffer.BlitTo(item.hDC, rc.left, rc.top);
}

} // namespace ludrin::ui::win32
