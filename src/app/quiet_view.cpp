#include "app/quiet_view.hpp"

namespace ludrin::app {

// The help balloons only open on a click, which a quiet run never gets; should one be
// asked for all the same, it goes nowhere.
class QuietView::NoBalloons : public ui::hints::BalloonHost {
    class Nowhere : public ui::hints::BalloonWindow {
    public:
        void Show(const ui::hints::BalloonPicture&) override {}
        void Hide() override {}
        void ShowCloseButton(ui::hints::CloseButtonState) override {}
    };
    class NoText : public ui::hints::TextMeasurer {
    public:
        ui::hints::Size Measure(std::wstring_view, ui::hints::HintFont, int) const override {
            return {};
        }
    };

public:
    std::unique_ptr<ui::hints::BalloonWindow> CreateBalloon(ui::hints::BalloonInput&) override {
        return std::make_unique<Nowhere>();
    }
    ui::hints::HintScreen Screen() const override { return {}; }
    const ui::hints::TextMeasurer& Measurer() const override { return measurer_; }
    ui::hints::Size IconSize() const override { return {}; }
    ui::hints::Size CloseButtonSize() const override { return {}; }

private:
    NoText measurer_;
};

QuietView::QuietView(UnattendedRun& run) : run_(run), balloons_(std::make_unique<NoBalloons>()) {}

QuietView::~QuietView() = default;

int QuietView::ShowMessage(const std::wstring& text, const std::wstring& /*caption*/,
                           unsigned flags) {
    const int answer = run_.QuietAnswer(text, flags);
    run_.Shown(text, answer);
    return answer;
}

ui::hints::BalloonHost& QuietView::Balloons() {
    return *balloons_;
}

} // namespace ludrin::app
