#include "ui/hints/win32/balloon_theme_win32.hpp"

#include "platform/win32/system_library.hpp"

#include <uxtheme.h>
#include <vssym32.h>

namespace ludrin::ui::hints::win32 {
namespace {

constexpr int kPlainGlyph = 16; // at 96 dpi, without visual styles

// uxtheme is not a KnownDLL: it is looked up in the system folder, never linked.
struct Theme {
    using IsThemeActiveFn = BOOL(WINAPI*)();
    using OpenThemeDataFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME);
    using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCRECT, LPCRECT);
    using GetThemePartSizeFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCRECT, THEMESIZE, SIZE*);

    Theme() {
        using ludrin::win32::SystemFunction;
        isActive = SystemFunction<IsThemeActiveFn>(L"uxtheme.dll", "IsThemeActive");
        open = SystemFunction<OpenThemeDataFn>(L"uxtheme.dll", "OpenThemeData");
        close = SystemFunction<CloseThemeDataFn>(L"uxtheme.dll", "CloseThemeData");
        draw = SystemFunction<DrawThemeBackgroundFn>(L"uxtheme.dll", "DrawThemeBackground");
        partSize = SystemFunction<GetThemePartSizeFn>(L"uxtheme.dll", "GetThemePartSize");
    }
    bool Usable() const {
        return isActive && open && close && draw && partSize && isActive() != FALSE;
    }

    IsThemeActiveFn isActive;
    OpenThemeDataFn open;
    CloseThemeDataFn close;
    DrawThemeBackgroundFn draw;
    GetThemePartSizeFn partSize;
};

const Theme& Uxtheme() {
    static const Theme theme;
    return theme;
}

// The tool-tip class's theme data, closed when it goes out of scope.
class ToolTipTheme {
public:
    explicit ToolTipTheme(HWND window)
        : handle_(Uxtheme().Usable() ? Uxtheme().open(window, L"TOOLTIP") : nullptr) {}
    ~ToolTipTheme() {
        if (handle_ != nullptr) {
            Uxtheme().close(handle_);
        }
    }
    ToolTipTheme(const ToolTipTheme&) = delete;
    ToolTipTheme& operator=(const ToolTipTheme&) = delete;
    HTHEME Handle() const { return handle_; }

private:
    HTHEME handle_;
};

int ThemeState(CloseButtonState state) {
    switch (state) {
    case CloseButtonState::Hot:
        return TTCS_HOT;
    case CloseButtonState::Pressed:
        return TTCS_PRESSED;
    case CloseButtonState::Normal:
        break;
    }
    return TTCS_NORMAL;
}

void DrawPlainGlyph(HDC dc, const RECT& rect, CloseButtonState state) {
    RECT face = rect;
    UINT flags = DFCS_BUTTONPUSH;
    if (state == CloseButtonState::Pressed) {
        flags |= DFCS_PUSHED;
    } else if (state == CloseButtonState::Hot) {
        flags |= DFCS_HOT;
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, flags);
    // The X: two diagonals two pixels wide, one pixel further down-right while pressed.
    const int inset = (rect.right - rect.left) / 4 + 1;
    const int shift = state == CloseButtonState::Pressed ? 1 : 0;
    const HPEN pen = CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNTEXT));
    const HGDIOBJ old = SelectObject(dc, pen);
    const int left = rect.left + inset + shift;
    const int top = rect.top + inset + shift;
    const int right = rect.right - inset + shift;
    const int bottom = rect.bottom - inset + shift;
    MoveToEx(dc, left, top, nullptr);
    LineTo(dc, right - 1, bottom - 1);
    MoveToEx(dc, left, bottom - 1, nullptr);
    LineTo(dc, right - 1, top);
    SelectObject(dc, old);
    DeleteObject(pen);
}

} // namespace

Size CloseGlyphSize(HWND window, UINT dpi) {
    const ToolTipTheme theme(window);
    SIZE size{};
    if (theme.Handle() != nullptr &&
        SUCCEEDED(Uxtheme().partSize(theme.Handle(), nullptr, TTP_CLOSE, TTCS_NORMAL, nullptr,
                                     TS_TRUE, &size)) &&
        size.cx > 0 && size.cy > 0) {
        return {size.cx, size.cy};
    }
    const int side = MulDiv(kPlainGlyph, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    return {side, side};
}

void DrawCloseGlyph(HWND window, HDC dc, const RECT& rect, CloseButtonState state) {
    const ToolTipTheme theme(window);
    if (theme.Handle() != nullptr && SUCCEEDED(Uxtheme().draw(theme.Handle(), dc, TTP_CLOSE,
                                                              ThemeState(state), &rect, nullptr))) {
        return;
    }
    DrawPlainGlyph(dc, rect, state);
}

} // namespace ludrin::ui::hints::win32
