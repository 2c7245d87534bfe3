#pragma once
// The balloons' side of the window system: their fonts at the screen's DPI, text extents
// measured as they will be drawn, the screen's work area, and a window per balloon.

#include "ui/hints/balloon_host.hpp"

#include <windows.h>

#include <vector>

namespace ludrin::ui::hints::win32 {

class BalloonHostWin32 : public BalloonHost, private TextMeasurer {
public:
    BalloonHostWin32() = default;
    ~BalloonHostWin32() override;
    BalloonHostWin32(const BalloonHostWin32&) = delete;
    BalloonHostWin32& operator=(const BalloonHostWin32&) = delete;

    // The window the balloons belong to: they go when it goes, and never take its focus.
    void SetOwner(HWND owner) { owner_ = owner; }
    HWND Owner() const { return owner_; }
    // Makes the fonts for that DPI; balloons opened from now on use them.
    void SetDpi(UINT dpi);
    UINT Dpi() const { return dpi_; }
    HFONT TitleFont() const { return titleFont_; }
    HFONT TextFont() const { return textFont_; }

    std::unique_ptr<BalloonWindow> CreateBalloon(BalloonInput& input) override;
    HintScreen Screen() const override;
    const TextMeasurer& Measurer() const override { return *this; }
    Size IconSize() const override;
    Size CloseButtonSize() const override;

private:
    Size Measure(std::wstring_view text, HintFont font, int maxWidth) const override;

    HWND owner_ = nullptr;
    UINT dpi_ = 0;
    HFONT titleFont_ = nullptr;
    HFONT textFont_ = nullptr;
    std::vector<HFONT> retired_;
};

// The text flags of every balloon text, measured and drawn alike.
inline constexpr UINT kBalloonTextFlags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

} // namespace ludrin::ui::hints::win32
