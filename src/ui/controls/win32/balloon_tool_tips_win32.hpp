#pragma once
// BalloonHints: the buttons' tool tips shown as balloons, 100 ms after the pointer comes to
// rest, Tahoma 8 pt in the system tool-tip colours, captions wrapped at 300 pixels.

#include <windows.h>

#include <string>

namespace ludrin::ui::win32 {

class BalloonToolTips {
public:
    BalloonToolTips() = default;
    ~BalloonToolTips();
    BalloonToolTips(const BalloonToolTips&) = delete;
    BalloonToolTips& operator=(const BalloonToolTips&) = delete;

    bool Create(HWND owner);
    void Add(HWND tool, const std::wstring& text);
    // Font and caption width for the owner's DPI.
    void ApplyDpi(UINT dpi);
    HWND Handle() const { return tip_; }

private:
    HWND tip_ = nullptr;
    HFONT font_ = nullptr;
};

} // namespace ludrin::ui::win32
