#include "app/win32/panel_window.hpp"

namespace ludrin::win32 {

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

void PanelWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(dc, &rc, brush_);
    DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
    if (bevel_ == PanelBevel::RaisedWithLoweredInner) {
        // Outer raised bevel, a border, then a lowered inner bevel three pixels wide.
        const UINT dpi = GetDpiForWindow(hwnd_);
        const int inset = MulDiv(2, static_cast<int>(dpi), 96);
        InflateRect(&rc, -inset, -inset);
        for (int i = 0; i < MulDiv(3, static_cast<int>(dpi), 96); ++i) {
            DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT);
            InflateRect(&rc, -1, -1);
        }
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
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetAncestor(hwnd_, GA_ROOT), message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}

} // namespace ludrin::win32
