#pragma once
// The view of a quiet run: no window, no message box. Every message goes to the run,
// which answers it as a build without a user interface would.

#include "app/form_view.hpp"
#include "app/unattended_run.hpp"

namespace ludrin::app {

class QuietView : public FormView {
public:
    explicit QuietView(UnattendedRun& run);
    ~QuietView() override;
    QuietView(const QuietView&) = delete;
    QuietView& operator=(const QuietView&) = delete;

    void SetLabelText(FormLabel, const std::wstring&) override {}
    void SetProgress(int) override {}
    int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) override;
    void CloseForm() override {}
    ui::hints::BalloonHost& Balloons() override;
    const ui::hints::HintControl* HintControlOf(ControlId) const override { return nullptr; }

private:
    class NoBalloons;
    UnattendedRun& run_;
    std::unique_ptr<NoBalloons> balloons_;
};

} // namespace ludrin::app
