#include "ui/controls/win32/glow_button_win32.hpp"

#include "ui/controls/glow_button_protocol.hpp"
#include "ui/controls/glow_button_style.hpp"
#include "ui/controls/win32/owner_draw.hpp"
#include "ui/controls/win32/paint_buffer.hpp"
#include "ui/controls/win32/system_contrast_win32.hpp"

#include <commctrl.h>

#include <optional>

namespace ludrin::ui::win32 {
namespace {

constexpr int kImageSize = 32;
constexpr int kMargin = 4;
constexpr int kRadius = 3;

} // namespace

HWND GlowButton::Create(HWND parent, int id, const std::wstring& caption,
                        const GlowButtonStyle& style) {
    return Subclassed<GlowButton>::Create(
        WC_BUTTONW, caption.c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_OWNERDRAW, parent, id, style);
}

LRESULT GlowButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectedDrawItem:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case kGlowGetStateMessage:
        return State();
    case WM_MOUSEMOVE:
        SetHot(true);
        break;
    case WM_MOUSELEAVE:
        SetHot(false);
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_GETDLGCODE: {
        // Enter belongs to the focused button, not to a default button of the window.
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = DefSubclassProc(hwnd_, message, wParam, lParam);
        if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
            return code | DLGC_WANTMESSAGE;
        }
        // Tab follows the form's tab order, which the window keeps (z-order serves painting).
        return code | DLGC_WANTTAB;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && (lParam & (1 << 30)) == 0) {
            Clicked();
            return 0;
        }
        if (wParam == VK_TAB) {
            SendMessageW(GetAncestor(hwnd_, GA_ROOT), WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0,
                         FALSE);
            return 0;
        }
        break;
    case WM_ENABLE:
        InvalidateRect(hwnd_, nullptr, FALSE);
        break;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return DefSubclassProc(hwnd_, message, wParam, lParam);
}

void GlowButton::SetHot(bool hot) {
    if (hot == hot_) {
        return;
    }
    hot_ = hot;
    if (hot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void GlowButton::Clicked() {
    SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd_));
}

LRESULT GlowButton::State() const {
    const auto state = static_cast<UINT>(SendMessageW(hwnd_, BM_GETSTATE, 0, 0));
    LRESULT flags = 0;
    const auto add = [&flags](bool on, GlowStateFlag flag) {
        if (on) {
            flags |= static_cast<LRESULT>(flag);
        }
    };
    add(hot_, kGlowHot);
    add((state & BST_PUSHED) != 0, kGlowDown);
    add(GetFocus() == hwnd_, kGlowFocused);
    add(clipped_, kGlowCaptionClipped);
    add(painted_, kGlowPainted);
    return flags;
}

const Image& GlowButton::Glyph(int size) {
    auto it = glyphs_.find(size);
    if (it == glyphs_.end()) {
        it = glyphs_.emplace(size, DrawArtwork(style_.image, size)).first;
    }
    return it->second;
}

std::wstring GlowButton::Caption() const {
    std::wstring caption;
    if (!style_.imageOnly) {
        const int length = GetWindowTextLengthW(hwnd_);
        caption.resize(static_cast<std::size_t>(length) + 1);
        caption.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, caption.data(), length + 1)));
    }
    return caption;
}

void GlowButton::DrawFocusFrame(HDC dc, int width, int height,
                                const std::optional<FlatColours>& flat) const {
    const int inset = ScaleForWindow(hwnd_, 3);
    RECT focus{inset, inset, width - inset, height - inset};
    SetTextColor(dc, flat ? ToColorRef(flat->text) : RGB(0, 0, 0));
    SetBkColor(dc, flat ? ToColorRef(flat->face) : RGB(255, 255, 255));
    DrawFocusRect(dc, &focus);
}

void GlowButton::Draw(const DRAWITEMSTRUCT& item) {
    const RECT& rc = item.rcItem;
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    const auto scale = [this](int length) {
        return ScaleForWindow(hwnd_, length);
    };
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool down = (item.itemState & ODS_SELECTED) != 0;
    const GlowState state = disabled ? GlowState::Disabled
                            : down   ? GlowState::Down
                            : hot_   ? GlowState::Hot
                                     : GlowState::Normal;

    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    // High contrast: a flat face in the theme's colours, no gradient or glow.
    const std::optional<FlatColours> flat =
        HighContrastOn() ? std::optional(HighContrastButton(state, focused, CurrentSystemColours()))
                         : std::nullopt;
    Image canvas(width, height, Opaque(FromColorRef(style_.background)));
    if (flat) {
        PaintFlatFace(canvas, *flat, std::max(scale(1), 1));
    } else {
        PaintGlowFace(canvas, state, style_.transparent, scale(kRadius), std::max(scale(1), 1));
    }

    PaintBuffer buffer(item.hDC, width, height);
    const HDC dc = buffer.Dc();
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    const HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    const std::wstring caption = Caption();
    SIZE text{0, 0};
    if (!caption.empty()) {
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    }
    const int imageSize = scale(kImageSize);
    const GlowLayout layout = LayoutGlowContent(width, height, imageSize, text.cx, text.cy,
                                                scale(style_.spacing), scale(kMargin));
    clipped_ = layout.captionClipped;
    const int shift = down ? 1 : 0; // pressed content sinks by a pixel
    Composite(canvas, Glyph(imageSize), layout.image.left + shift, layout.image.top + shift,
              disabled ? 0.45 : 1.0);
    buffer.Put(canvas);

    if (!caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, flat       ? ToColorRef(flat->text)
                         : disabled ? GetSysColor(COLOR_GRAYTEXT)
                                    : style_.textColour);
        RECT box{layout.text.left + shift, layout.text.top + shift, layout.text.Right() + shift,
                 layout.text.top + layout.text.height + shift};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &box,
                  DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (focused && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        DrawFocusFrame(dc, width, height, flat);
    }
    if (oldFont != nullptr) {
        SelectObject(dc, oldFont);
    }
    buffer.BlitTo(item.hDC, rc.left, rc.top);
    painted_ = true;
}

} // namespace ludrin::ui::win32
