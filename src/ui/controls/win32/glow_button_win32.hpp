#pragma once
// The glow button: a "Button" window (so clicks, BM_CLICK, Space and the focus behave as
// every button's) that paints its own face from the state colour table, tracks the pointer
// for its hot look, shows a hand cursor and clicks on Enter as well.

#include "ui/controls/artwork.hpp"
#include "ui/controls/high_contrast.hpp"
#include "ui/controls/win32/subclassed_control.hpp"

#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace ludrin::ui::win32 {

struct GlowButtonStyle {
    Artwork image = Artwork::Help;
    int spacing = 0;          // between image and caption, at 96 dpi
    bool transparent = false; // no face in the normal state
    // The window text names the button for screen readers; on screen only the image shows.
    bool imageOnly = false;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF background = GetSysColor(COLOR_BTNFACE); // the parent's
};

class GlowButton {
public:
    // The button lives as long as its window.
    static HWND Create(HWND parent, int id, const std::wstring& caption,
                       const GlowButtonStyle& style);

private:
    friend class Subclassed<GlowButton>;
    GlowButton(HWND window, const GlowButtonStyle& style) : hwnd_(window), style_(style) {}
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Draw(const DRAWITEMSTRUCT& item);
    // The window text drawn beside the image: none for an image-only button, whose text
    // is only its name for screen readers.
    std::wstring Caption() const;
    void DrawFocusFrame(HDC dc, int width, int height,
                        const std::optional<FlatColours>& flat) const;
    void SetHot(bool hot);
    void Clicked();
    const Image& Glyph(int size);
    LRESULT State() const;

    HWND hwnd_;
    GlowButtonStyle style_;
    bool hot_ = false;
    bool clipped_ = false;
    bool painted_ = false;
    std::map<int, Image> glyphs_; // by size, so a DPI change draws afresh
};

} // namespace ludrin::ui::win32
