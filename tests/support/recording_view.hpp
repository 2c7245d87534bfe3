#pragma once
// The one test double: a window that records what the installer's logic tells it and
// answers message boxes from a script.

#include "app/form_view.hpp"
#include "app/message_flags.hpp"
#include "support/recording_balloons.hpp"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ludrin::testing {

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    unsigned flags;
};

class RecordingView : public app::FormView {
public:
    void SetLabelText(app::FormLabel label, const std::wstring& text) override {
        labels[label] = text;
    }
    void SetProgress(int position) override {
        progress.push_back(position);
        if (onProgress) {
            onProgress(position); // a step of an operation that may fail here
        }
    }
    int ShowMessage(const std::wstring& text, const std::wstring& caption,
                    unsigned flags) override {
        messages.push_back({text, caption, flags});
        balloonsAtMessages.push_back(balloons.Alive().size());
        if (answers.empty()) {
            return app::kIdOk;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void CloseForm() override {
        ++closed;
        balloonsAtClose = balloons.Alive().size();
    }
    ui::hints::BalloonHost& Balloons() override { return balloons; }
    const ui::hints::HintControl* HintControlOf(app::ControlId id) const override {
        const auto it = controls.find(id);
        return it == controls.end() ? nullptr : &it->second;
    }

    std::map<app::FormLabel, std::wstring> labels;
    std::vector<int> progress;
    std::vector<ShownMessage> messages;
    std::deque<int> answers; // the buttons to press, in order; OK when none is left
    int closed = 0;
    // The balloons, and the install buttons where a window centred on a 1280 x 1024 screen
    // has them.
    RecordingBalloons balloons;
    std::map<app::ControlId, FakeControl> controls{
        {app::ControlId::btnInstallaBase, FakeControl({265, 531, 828, 576})},
        {app::ControlId::btnInstallaComplete, FakeControl({265, 590, 828, 635})}};
    std::vector<std::size_t> balloonsAtMessages; // balloons still open at each message
    std::size_t balloonsAtClose = 0;
    std::function<void(int position)> onProgress;
};

} // namespace ludrin::testing
