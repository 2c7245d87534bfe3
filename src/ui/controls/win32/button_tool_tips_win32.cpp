#include "ui/controls/win32/button_tool_tips_win32.hpp"

#include "platform/win32/system_library.hpp"

#include <commctrl.h>

namespace ludrin::ui::win32 {
namespace {

constexpr int kPauseMs = 100;
constexpr int kCaptionWidth = 300;

// With visual styles the tip ignores its colours; an empty theme gives them back. uxtheme
// is not a KnownDLL, so it is not linked statically.
void DropTheme(HWND window) {
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    const auto setWindowTheme =
        ludrin::win32::SystemFunction<SetWindowThemeFn>(L"uxtheme.dll", "SetWindowTheme");
    if (setWindowTheme != nullptr) {
        setWindowTheme(window, L"", L"");
    }
}

} // namespace

ButtonToolTips::~ButtonToolTips() {
    if (tip_ != nullptr && IsWindow(tip_)) {
        DestroyWindow(tip_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

bool ButtonToolTips::Create(HWND owner) {
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_BALLOON | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (tip_ == nullptr) {
        return false;
    }
    DropTheme(tip_);
    SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(kPauseMs, 0));
    SendMessageW(tip_, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(kPauseMs / 2, 0));
    SendMessageW(tip_, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
    SendMessageW(tip_, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
    return true;
}

void ButtonToolTips::Add(HWND tool, const std::wstring& text) {
    if (tip_ == nullptr || tool == nullptr || text.empty()) {
        return;
    }
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str()); // copied by the control
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void ButtonToolTips::ApplyDpi(UINT dpi) {
    if (tip_ == nullptr) {
        return;
    }
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcscpy(lf.lfFaceName, L"Tahoma");
    const HFONT font = CreateFontIndirectW(&lf);
    SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = font;
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(kCaptionWidth, static_cast<int>(dpi), 96));
}

} // namespace ludrin::ui::win32
