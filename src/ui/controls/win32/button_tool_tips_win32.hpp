#pragma once
// The buttons' tool tips: system tool tips in balloon form, 100 ms after the pointer comes
// to rest, Tahoma 8 pt in the system tool-tip colours, captions wrapped at 300 pixels.

#include <windows.h>

#include <string>

namespace ludrin::ui::win32 {

class ButtonToolTips {
public:
    ButtonToolTips() = default;
    ~ButtonToolTips();
    ButtonToolTips(const ButtonToolTips&) = delete;
    ButtonToolTips& operator=(const ButtonToolTips&) = delete;

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
