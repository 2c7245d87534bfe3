#include "ui/hints/win32/balloon_host_win32.hpp"

#include "ui/hints/win32/balloon_theme_win32.hpp"
#include "ui/hints/win32/balloon_window_win32.hpp"

namespace ludrin::ui::hints::win32 {
namespace {

constexpr int kTitlePoints = 8;

HFONT MakeTitleFont(UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(kTitlePoints, static_cast<int>(dpi), 72);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcscpy(lf.lfFaceName, L"Arial");
    return CreateFontIndirectW(&lf);
}

// The platform's tool-tip font is its status font.
HFONT MakeToolTipFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    }
    return CreateFontIndirectW(&metrics.lfStatusFont);
}

} // namespace

BalloonHostWin32::~BalloonHostWin32() {
    retired_.push_back(titleFont_);
    retired_.push_back(textFont_);
    for (HFONT font : retired_) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
}

void BalloonHostWin32::SetDpi(UINT dpi) {
    if (dpi == dpi_ && titleFont_ != nullptr) {
        return;
    }
    // Open balloons keep painting with the fonts they were laid out with: the old fonts
    // stay until the host goes (DPI changes are rare).
    for (HFONT* font : {&titleFont_, &textFont_}) {
        if (*font != nullptr) {
            retired_.push_back(*font);
            *font = nullptr;
        }
    }
    dpi_ = dpi;
    titleFont_ = MakeTitleFont(dpi);
    textFont_ = MakeToolTipFont(dpi);
}

std::unique_ptr<BalloonWindow> BalloonHostWin32::CreateBalloon(BalloonInput& input) {
    if (titleFont_ == nullptr) {
        SetDpi(owner_ != nullptr ? GetDpiForWindow(owner_) : USER_DEFAULT_SCREEN_DPI);
    }
    return std::make_unique<BalloonWindowWin32>(*this, input);
}

HintScreen BalloonHostWin32::Screen() const {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // The desktop's right and bottom are its width and height, as the placement has always
    // taken them.
    return {{work.left, work.top, work.right, work.bottom},
            {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
             GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)},
            static_cast<int>(dpi_ != 0 ? dpi_ : USER_DEFAULT_SCREEN_DPI)};
}

Size BalloonHostWin32::IconSize() const {
    const UINT dpi = dpi_ != 0 ? dpi_ : USER_DEFAULT_SCREEN_DPI;
    return {GetSystemMetricsForDpi(SM_CXSMICON, dpi), GetSystemMetricsForDpi(SM_CYSMICON, dpi)};
}

Size BalloonHostWin32::CloseButtonSize() const {
    return CloseGlyphSize(owner_, dpi_ != 0 ? dpi_ : USER_DEFAULT_SCREEN_DPI);
}

Size BalloonHostWin32::Measure(std::wstring_view text, HintFont font, int maxWidth) const {
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font == HintFont::Title ? titleFont_ : textFont_);
    RECT rect{0, 0, maxWidth, 0};
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | kBalloonTextFlags);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace ludrin::ui::hints::win32
