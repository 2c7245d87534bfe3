#include "ui/hints/message_hint_window.hpp"

namespace ludrin::ui::hints {

TMessageHintWindow::TMessageHintWindow(BalloonHost& host) : window_(host.CreateBalloon(*this)) {}

void TMessageHintWindow::Show(const BalloonPicture& picture) {
    picture_ = picture;
    CloseBtnRect = picture.parts.closeButton;
    closeState_ = CloseButtonState::Normal;
    CloseBtnPressed = false;
    window_->Show(picture_);
    onScreen_ = true;
}

void TMessageHintWindow::MouseMove(Point point) {
    if (CloseBtnPressed) {
        return; // stays pressed until released
    }
    SetCloseState(Contains(CloseBtnRect, point) ? CloseButtonState::Hot : CloseButtonState::Normal);
}

void TMessageHintWindow::MouseLeave() {
    if (!CloseBtnPressed) {
        SetCloseState(CloseButtonState::Normal);
    }
}

void TMessageHintWindow::MouseDown(Point point) {
    if (Contains(CloseBtnRect, point)) {
        CloseBtnPressed = true;
        SetCloseState(CloseButtonState::Pressed);
    }
}

void TMessageHintWindow::MouseUp(Point /*point*/) {
    if (!CloseBtnPressed) {
        return;
    }
    CloseBtnPressed = false;
    closeState_ = CloseButtonState::Normal;
    window_->Hide();
    onScreen_ = false;
}

void TMessageHintWindow::SetCloseState(CloseButtonState state) {
    if (state != closeState_) {
        closeState_ = state;
        window_->ShowCloseButton(state);
    }
}

} // namespace ludrin::ui::hints
