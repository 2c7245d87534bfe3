#include "ui/hints/message_hint.hpp"

#include "ui/controls/dpi_scale.hpp"

namespace ludrin::ui::hints {

TMessageHint::TMessageHint(BalloonHost& host) : host_(host) {}

TMessageHint::~TMessageHint() {
    HideMessages(-1);
}

void TMessageHint::SetAllowMultipleHints(bool allow) {
    allowMultipleHints_ = allow;
    if (allow) {
        setCapture_ = false;
    }
}

BalloonMetrics TMessageHint::MetricsFor(const HintScreen& screen) const {
    BalloonMetrics m;
    m.noseLength = ScaleToDpi(NoseLength, screen.dpi);
    m.noseWidth = ScaleToDpi(NoseWidth, screen.dpi);
    m.roundRectWidth = ScaleToDpi(RoundRectWidth, screen.dpi);
    m.noseInset = ScaleToDpi(m.noseInset, screen.dpi);
    // The gap stays one pixel: the tip touches the spot it points at.
    m.distance = Distance;
    m.rightAngledNose = RightAngledNose;
    m.icon = host_.IconSize();
    m.closeButton = host_.CloseButtonSize();
    m.maxLineWidth = MaxWidth < 0 ? screen.workArea.Width() / 4 : MaxWidth;
    return m;
}

void TMessageHint::ShowControlMessage(const std::wstring& msg, const HintControl* aControl,
                                      const std::wstring& aTitle, std::optional<Rgb> aColor,
                                      THintIcon aIcon, int aDisplayOrder) {
    if (!allowMultipleHints_) {
        HideMessages(-1);
    }
    if (aControl == nullptr || !aControl->Visible() || !aControl->HasParent()) {
        return;
    }
    const Rect rect = aControl->ScreenRect();
    const int x = rect.left + rect.Width() / 2;
    const int y = rect.top + rect.Height() / 2;
    ShowMessage(msg.empty() ? aControl->Hint() : msg, x, y, aTitle, aColor, aIcon, aDisplayOrder);
}

void TMessageHint::ShowMessage(const std::wstring& msg, int x, int y, const std::wstring& aTitle,
                               std::optional<Rgb> aColor, THintIcon aIcon, int aDisplayOrder) {
    if (!allowMultipleHints_) {
        HideMessages(-1);
    }
    auto& window = *windows_.emplace_back(std::make_unique<TMessageHintWindow>(host_));
    window.Title = aTitle;
    window.Icon = aIcon == THintIcon::hitCustom ? THintIcon::hitInfo : aIcon;
    window.DisplayOrder = aDisplayOrder;
    window.Anchor = {x, y};
    window.Text = msg;

    const HintScreen screen = host_.Screen();
    const BalloonMetrics metrics = MetricsFor(screen);
    const std::wstring& title = aTitle.empty() ? DefaultTitle : aTitle;
    const BalloonLayout layout = LayoutBalloon(title, msg, host_.Measurer(), metrics);
    const Placement placement =
        PlaceBalloon(window.Anchor, layout.window, screen.desktop, Position, metrics);
    const BalloonShape shape = ShapeBalloon(placement.position, layout.window, metrics);
    window.Show({.window = placement.window,
                 .position = placement.position,
                 .shape = shape,
                 .parts = ArrangeBalloon(layout, shape, metrics),
                 .title = title,
                 .text = msg,
                 .icon = window.Icon,
                 .colour = aColor ? aColor : Color,
                 .borderColour = BorderColor});
}

void TMessageHint::HideMessages(int aDisplayOrder) {
    for (auto i = windows_.size(); i-- > 0;) {
        if (aDisplayOrder == -1 || windows_[i]->DisplayOrder == aDisplayOrder) {
            windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

} // namespace ludrin::ui::hints
