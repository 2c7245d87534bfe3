#pragma once
// A window that a balloon can point at, with the tool-tip text it was given.

#include "ui/hints/balloon_host.hpp"

#include <windows.h>

#include <string>

namespace ludrin::ui::hints::win32 {

class WindowHintControl : public HintControl {
public:
    WindowHintControl(HWND window, std::wstring hint) : window_(window), hint_(std::move(hint)) {}

    bool Visible() const override { return IsWindowVisible(window_) != FALSE; }
    bool HasParent() const override { return GetParent(window_) != nullptr; }
    Rect ScreenRect() const override {
        RECT rect{};
        GetWindowRect(window_, &rect);
        return {rect.left, rect.top, rect.right, rect.bottom};
    }
    std::wstring Hint() const override { return hint_; }

private:
    HWND window_;
    std::wstring hint_;
};

} // namespace ludrin::ui::hints::win32
