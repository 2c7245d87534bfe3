#pragma once
// The balloon component: the look shared by all its balloons and the list of the balloon
// windows it has opened, in creation order.

#include "ui/hints/balloon_host.hpp"
#include "ui/hints/message_hint_window.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ludrin::ui::hints {

inline constexpr Rgb kNavy{0, 0, 0x80};

class TMessageHint {
public:
    explicit TMessageHint(BalloonHost& host);
    ~TMessageHint(); // hides and frees every balloon
    TMessageHint(const TMessageHint&) = delete;
    TMessageHint& operator=(const TMessageHint&) = delete;

    // A balloon pointing at the centre of the control; the control's own tool-tip text
    // when msg is empty. Nothing when the control is missing, hidden or has no parent.
    void ShowControlMessage(const std::wstring& msg, const HintControl* aControl,
                            const std::wstring& aTitle, std::optional<Rgb> aColor, THintIcon aIcon,
                            int aDisplayOrder);
    // A balloon pointing at a point of the screen.
    void ShowMessage(const std::wstring& msg, int x, int y, const std::wstring& aTitle,
                     std::optional<Rgb> aColor, THintIcon aIcon, int aDisplayOrder);
    // Frees the balloons of that display order, last opened first; -1: all of them.
    void HideMessages(int aDisplayOrder);
    void HideMessage() { HideMessages(-1); }
    bool IsDisplaying() const { return !windows_.empty(); }

    bool AllowMultipleHints() const { return allowMultipleHints_; }
    // Several balloons at once rule out capturing the mouse.
    void SetAllowMultipleHints(bool allow);
    bool SetCapture() const { return setCapture_; }
    void SetSetCapture(bool capture) { setCapture_ = capture; }

    const std::vector<std::unique_ptr<TMessageHintWindow>>& Windows() const { return windows_; }

    // The look, in pixels at 96 dpi where they are lengths.
    THintPosition Position = THintPosition::hpAboveLeft;
    bool RightAngledNose = false; // hoRightAngledNose
    int NoseLength = 25;
    int NoseWidth = 25;
    int RoundRectWidth = 18;
    int Distance = 1;
    Rgb BorderColor = kNavy;
    std::optional<Rgb> Color; // none: the system's tool-tip colour
    int MaxWidth = -4;        // negative: a quarter of the work area's width
    std::wstring DefaultTitle = L"Default title!";

    // The metrics a balloon is laid out with on that screen.
    BalloonMetrics MetricsFor(const HintScreen& screen) const;

private:
    BalloonHost& host_;
    std::vector<std::unique_ptr<TMessageHintWindow>> windows_;
    bool allowMultipleHints_ = false;
    bool setCapture_ = true;
};

} // namespace ludrin::ui::hints
