#pragma once
// One shown balloon: what it says, where it points, and its close button, which takes the
// balloon off the screen while the component keeps it listed.

#include "ui/hints/balloon_host.hpp"

#include <memory>
#include <string>

namespace ludrin::ui::hints {

class TMessageHintWindow : public BalloonInput {
public:
    explicit TMessageHintWindow(BalloonHost& host);
    ~TMessageHintWindow() override = default;
    TMessageHintWindow(const TMessageHintWindow&) = delete;
    TMessageHintWindow& operator=(const TMessageHintWindow&) = delete;

    void Show(const BalloonPicture& picture);

    // BalloonInput: the close button's hot, pressed and normal states.
    void MouseMove(Point point) override;
    void MouseLeave() override;
    void MouseDown(Point point) override;
    void MouseUp(Point point) override;

    std::wstring Title;
    THintIcon Icon = THintIcon::hitInfo;
    int DisplayOrder = 0;
    Point Anchor{};
    std::wstring Text;
    Rect CloseBtnRect{};
    bool CloseBtnPressed = false;

    const BalloonPicture& Picture() const { return picture_; }
    bool OnScreen() const { return onScreen_; }
    CloseButtonState CloseButton() const { return closeState_; }

private:
    void SetCloseState(CloseButtonState state);

    std::unique_ptr<BalloonWindow> window_;
    BalloonPicture picture_{};
    bool onScreen_ = false;
    CloseButtonState closeState_ = CloseButtonState::Normal;
};

} // namespace ludrin::ui::hints
