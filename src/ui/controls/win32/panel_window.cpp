#include "ui/controls/win32/panel_window.hpp"

#include "ui/controls/win32/owner_draw.hpp"
#include "ui/controls/win32/paint_buffer.hpp"
#include "ui/controls/win32/system_contrast_win32.hpp"

#include <algorithm>

namespace ludrin::ui::win32 {

PanelWindow::~PanelWindow() {
    if (brush_ != nullptr) {
        DeleteObject(brush_);
    }
}

bool PanelWindow::Create(HWND parent, int id) {
    Register(kClassName);
    brush_ = CreateSolidBrush(background_);
    return CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"",
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), this) != nullptr;
}

void PanelWindow::Bevel(HDC dc, RECT rc, int width, bool raised) {
    const HBRUSH light = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    const HBRUSH dark = GetSysColorBrush(COLOR_BTNSHADOW);
    const HBRUSH topLeft = raised ? light : dark;
    const HBRUSH bottomRight = raised ? dark : light;
    for (int i = 0; i < width && rc.right - rc.left > 1 && rc.bottom - rc.top > 1; ++i) {
        const RECT top{rc.left, rc.top, rc.right - 1, rc.top + 1};
        const RECT left{rc.left, rc.top, rc.left + 1, rc.bottom - 1};
        const RECT bottom{rc.left, rc.bottom - 1, rc.right, rc.bottom};
        const RECT right{rc.right - 1, rc.top, rc.right, rc.bottom};
        FillRect(dc, &top, topLeft);
        FillRect(dc, &left, topLeft);
        FillRect(dc, &bottom, bottomRight);
        FillRect(dc, &right, bottomRight);
        InflateRect(&rc, -1, -1);
    }
}

void PanelWindow::PaintFlat(HDC dc, RECT rc, const FlatColours& flat, int innerFrame) const {
    const HBRUSH face = CreateSolidBrush(ToColorRef(flat.face));
    const HBRUSH frame = CreateSolidBrush(ToColorRef(flat.border));
    FillRect(dc, &rc, face);
    FrameRect(dc, &rc, frame);
    if (bevel_ == PanelBevel::RaisedWithLoweredInner) {
        RECT inner = rc;
        InflateRect(&inner, -innerFrame, -innerFrame);
        FrameRect(dc, &inner, frame);
    }
    DeleteObject(frame);
    DeleteObject(face);
}

void PanelWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const auto scale = [this](int length) {
        return std::max(ScaleForWindow(hwnd_, length), 1);
    };
    if (const std::optional<FlatColours> flat = HighContrastPanelNow()) {
        // The lowered bevel's last pixel: just outside the child that fills the panel.
        PaintFlat(dc, rc, *flat, scale(6));
        EndPaint(hwnd_, &ps);
        return;
    }
    FillRect(dc, &rc, brush_);
    if (bevel_ == PanelBevel::Raised) {
        Bevel(dc, rc, scale(1), true);
    } else {
        // Bevel width 3: a raised outer bevel, a border of 1, a lowered inner bevel; the
        // child that fills the panel starts 7 pixels in.
        const int outer = scale(3);
        Bevel(dc, rc, outer, true);
        const int innerStart = scale(4);
        RECT inner = rc;
        InflateRect(&inner, -innerStart, -innerStart);
        Bevel(dc, inner, scale(7) - innerStart, false);
    }
    EndPaint(hwnd_, &ps);
}

LRESULT PanelWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DRAWITEM:
        // The owner-drawn controls paint themselves.
        if (ReflectDrawItem(lParam)) {
            return TRUE;
        }
        return SendMessageW(GetAncestor(hwnd_, GA_ROOT), message, wParam, lParam);
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetAncestor(hwnd_, GA_ROOT), message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

} // namespace ludrin::ui::win32
