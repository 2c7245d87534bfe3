#pragma once
// One balloon on the screen: a top-most pop-up shaped by a window region (the body joined
// with its nose), which never takes the focus. Its window text is the balloon's message.

#include "ui/controls/win32/base_window.hpp"
#include "ui/hints/balloon_host.hpp"

#include <windows.h>

namespace ludrin::ui::hints::win32 {

class BalloonHostWin32;

class BalloonWindowWin32 : public ui::win32::BaseWindow<BalloonWindowWin32>, public BalloonWindow {
public:
    static constexpr const wchar_t* kClassName = L"TMessageHintWindow";

    BalloonWindowWin32(BalloonHostWin32& host, BalloonInput& input);
    ~BalloonWindowWin32() override;
    BalloonWindowWin32(const BalloonWindowWin32&) = delete;
    BalloonWindowWin32& operator=(const BalloonWindowWin32&) = delete;

    void Show(const BalloonPicture& picture) override;
    void Hide() override;
    void ShowCloseButton(CloseButtonState state) override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint(HDC dc) const;
    void PaintTitle(HDC dc) const;

    BalloonHostWin32& host_;
    BalloonInput& input_;
    BalloonPicture picture_{};
    HFONT titleFont_ = nullptr;
    HFONT textFont_ = nullptr;
    CloseButtonState closeState_ = CloseButtonState::Normal;
    HCURSOR cursorAtShow_ = nullptr;
    bool trackingLeave_ = false;
};

} // namespace ludrin::ui::hints::win32
