#include "ui/hints/win32/balloon_window_win32.hpp"

#include "ui/controls/win32/paint_buffer.hpp"
#include "ui/hints/balloon_protocol.hpp"
#include "ui/hints/win32/balloon_host_win32.hpp"
#include "ui/hints/win32/balloon_theme_win32.hpp"

#include <windowsx.h>

namespace ludrin::ui::hints::win32 {
namespace {

RECT ToRect(const Rect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The visible area: the rounded body joined with the nose.
HRGN MakeRegion(const BalloonShape& shape) {
    const Rect& body = shape.body;
    // A rounded region leaves out its last column and row: one more of each makes the body
    // meet the nose's base instead of leaving a gap above it.
    const HRGN region = CreateRoundRectRgn(body.left, body.top, body.right + 1, body.bottom + 1,
                                           shape.corner, shape.corner);
    POINT nose[3];
    for (int i = 0; i < 3; ++i) {
        nose[i] = {shape.nose[static_cast<std::size_t>(i)].x,
                   shape.nose[static_cast<std::size_t>(i)].y};
    }
    const HRGN noseRegion = CreatePolygonRgn(nose, 3, WINDING);
    CombineRgn(region, region, noseRegion, RGN_OR);
    DeleteObject(noseRegion);
    return region;
}

LPCWSTR IconResource(THintIcon icon) {
    switch (icon) {
    case THintIcon::hitError:
        return IDI_ERROR;
    case THintIcon::hitQuestion:
        return IDI_QUESTION;
    case THintIcon::hitWarning:
        return IDI_WARNING;
    case THintIcon::hitCustom:
    case THintIcon::hitInfo:
        break;
    }
    return IDI_INFORMATION;
}

bool SystemDropShadow() {
    BOOL on = FALSE;
    return SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &on, 0) && on;
}

} // namespace

BalloonWindowWin32::BalloonWindowWin32(BalloonHostWin32& host, BalloonInput& input)
    : host_(host), input_(input) {}

BalloonWindowWin32::~BalloonWindowWin32() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
        SetCursor(cursorAtShow_);
    }
}

void BalloonWindowWin32::Show(const BalloonPicture& picture) {
    picture_ = picture;
    titleFont_ = host_.TitleFont();
    textFont_ = host_.TextFont();
    closeState_ = CloseButtonState::Normal;
    cursorAtShow_ = GetCursor();
    const Rect& r = picture.window;
    if (hwnd_ == nullptr) {
        Register(kClassName, CS_HREDRAW | CS_VREDRAW | (SystemDropShadow() ? CS_DROPSHADOW : 0));
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName,
                        picture.text.c_str(), WS_POPUP, r.left, r.top, r.Width(), r.Height(),
                        host_.Owner(), nullptr, GetModuleHandleW(nullptr), this);
        if (hwnd_ == nullptr) {
            return;
        }
    } else {
        SetWindowTextW(hwnd_, picture.text.c_str());
    }
    SetWindowRgn(hwnd_, MakeRegion(picture.shape), FALSE); // the window owns the region now
    SetWindowPos(hwnd_, HWND_TOPMOST, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void BalloonWindowWin32::Hide() {
    if (hwnd_ != nullptr) {
        if (GetCapture() == hwnd_) {
            ReleaseCapture();
        }
        ShowWindow(hwnd_, SW_HIDE);
        SetCursor(cursorAtShow_);
    }
}

void BalloonWindowWin32::ShowCloseButton(CloseButtonState state) {
    closeState_ = state;
    if (hwnd_ == nullptr) {
        return;
    }
    // While held down the button follows the pointer outside the balloon too.
    if (state == CloseButtonState::Pressed) {
        SetCapture(hwnd_);
    }
    const RECT rect = ToRect(picture_.parts.closeButton);
    InvalidateRect(hwnd_, &rect, FALSE);
}

void BalloonWindowWin32::PaintTitle(HDC dc) const {
    const HGDIOBJ old = SelectObject(dc, titleFont_);
    RECT rect = ToRect(picture_.parts.title);
    // A one-pixel shadow down and to the right, then the title over it.
    OffsetRect(&rect, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextW(dc, picture_.title.c_str(), -1, &rect, DT_WORDBREAK | DT_NOPREFIX);
    OffsetRect(&rect, -1, -1);
    SetTextColor(dc, ui::win32::ToColorRef(picture_.borderColour));
    DrawTextW(dc, picture_.title.c_str(), -1, &rect, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
}

void BalloonWindowWin32::Paint(HDC dc) const {
    const HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(hwnd_, region);
    const HBRUSH fill = CreateSolidBrush(picture_.colour ? ui::win32::ToColorRef(*picture_.colour)
                                                         : GetSysColor(COLOR_INFOBK));
    const HBRUSH border = CreateSolidBrush(ui::win32::ToColorRef(picture_.borderColour));
    FillRgn(dc, region, fill);
    FrameRgn(dc, region, border, 1, 1);
    DeleteObject(fill);
    DeleteObject(border);
    DeleteObject(region);

    SetBkMode(dc, TRANSPARENT);
    PaintTitle(dc);

    const HGDIOBJ old = SelectObject(dc, textFont_);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT text = ToRect(picture_.parts.text);
    DrawTextW(dc, picture_.text.c_str(), -1, &text, kBalloonTextFlags);
    SelectObject(dc, old);

    const Size icon = host_.IconSize();
    const auto handle = static_cast<HICON>(LoadImageW(
        nullptr, IconResource(picture_.icon), IMAGE_ICON, icon.width, icon.height, LR_SHARED));
    if (handle != nullptr) {
        DrawIconEx(dc, picture_.parts.icon.x, picture_.parts.icon.y, handle, icon.width,
                   icon.height, 0, nullptr, DI_NORMAL);
    }
    DrawCloseGlyph(hwnd_, dc, ToRect(picture_.parts.closeButton), closeState_);
}

LRESULT BalloonWindowWin32::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const Point point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE; // the main window keeps the keyboard
    case WM_ERASEBKGND:
        return 1;
    case kBalloonGetCloseButtonMessage: {
        const Rect& button = picture_.parts.closeButton;
        return MAKELONG(button.left + button.Width() / 2, button.top + button.Height() / 2);
    }
    case kBalloonGetCloseStateMessage:
        return static_cast<LRESULT>(closeState_);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = BeginPaint(hwnd_, &ps);
        Paint(dc);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (!trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
            trackingLeave_ = TrackMouseEvent(&track) != FALSE;
        }
        input_.MouseMove(point);
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        input_.MouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
        input_.MouseDown(point);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd_) {
            ReleaseCapture();
        }
        input_.MouseUp(point);
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

} // namespace ludrin::ui::hints::win32
