#pragma once
// Balloon windows that record what the component shows and hides, text measured in a
// fixed-width font, and controls at chosen screen rectangles: the balloons' semantics and
// geometry without a window system.

#include "ui/hints/balloon_host.hpp"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace ludrin::testing {

// Every character `charWidth` wide (a tab: up to the next multiple of 8 characters), every
// line `lineHeight` high; lines break at CR LF and wrap at blanks like DrawText does.
class FixedWidthMeasurer : public ui::hints::TextMeasurer {
public:
    struct Font {
        int charWidth, lineHeight;
    };
    FixedWidthMeasurer(Font title, Font text) : title_(title), text_(text) {}

    ui::hints::Size Measure(std::wstring_view text, ui::hints::HintFont font,
                            int maxWidth) const override {
        const Font f = font == ui::hints::HintFont::Title ? title_ : text_;
        const std::size_t perLine = static_cast<std::size_t>(std::max(1, maxWidth / f.charWidth));
        std::size_t widest = 0;
        int lines = 0;
        std::size_t start = 0;
        while (true) {
            const std::size_t end = text.find(L"\r\n", start);
            std::wstring line(
                text.substr(start, end == std::wstring_view::npos ? end : end - start));
            line = ExpandTabs(line);
            do {
                std::size_t take = line.size();
                if (take > perLine) {
                    // The last blank that lets the line fit; a longer word stands alone.
                    const std::size_t blank = line.rfind(L' ', perLine);
                    take = blank == std::wstring::npos || blank == 0 ? line.find(L' ', perLine)
                                                                     : blank;
                    take = std::min(take, line.size());
                }
                std::wstring shown = line.substr(0, take);
                shown.erase(shown.find_last_not_of(L' ') + 1);
                widest = std::max(widest, shown.size());
                ++lines;
                const std::size_t next = line.find_first_not_of(L' ', take);
                line = next == std::wstring::npos ? std::wstring() : line.substr(next);
            } while (!line.empty());
            if (end == std::wstring_view::npos) {
                break;
            }
            start = end + 2;
        }
        return {static_cast<int>(widest) * f.charWidth, lines * f.lineHeight};
    }

private:
    static std::wstring ExpandTabs(const std::wstring& line) {
        std::wstring out;
        for (const wchar_t c : line) {
            if (c == L'\t') {
                out.append(8 - out.size() % 8, L' ');
            } else {
                out.push_back(c);
            }
        }
        return out;
    }

    Font title_;
    Font text_;
};

struct BalloonEvent {
    enum Kind { Shown, Hidden, CloseButton, Destroyed } kind;
    int window; // the number of the window, counting from 0 in creation order
};

class RecordingBalloons : public ui::hints::BalloonHost {
public:
    class Window : public ui::hints::BalloonWindow {
    public:
        Window(RecordingBalloons& host, ui::hints::BalloonInput& input, int number)
            : host_(host), input(input), number(number) {}
        ~Window() override {
            host_.Record(BalloonEvent::Destroyed, number);
            std::erase(host_.alive_, this);
        }
        void Show(const ui::hints::BalloonPicture& shown) override {
            picture = shown;
            visible = true;
            host_.Record(BalloonEvent::Shown, number);
        }
        void Hide() override {
            visible = false;
            host_.Record(BalloonEvent::Hidden, number);
        }
        void ShowCloseButton(ui::hints::CloseButtonState state) override {
            closeButton = state;
            host_.Record(BalloonEvent::CloseButton, number);
        }

        RecordingBalloons& host_;
        ui::hints::BalloonInput& input;
        int number;
        ui::hints::BalloonPicture picture{};
        bool visible = false;
        ui::hints::CloseButtonState closeButton = ui::hints::CloseButtonState::Normal;
    };

    std::unique_ptr<ui::hints::BalloonWindow> CreateBalloon(ui::hints::BalloonInput& in) override {
        auto window = std::make_unique<Window>(*this, in, created++);
        alive_.push_back(window.get());
        return window;
    }
    ui::hints::HintScreen Screen() const override { return screen; }
    const ui::hints::TextMeasurer& Measurer() const override { return measurer; }
    ui::hints::Size IconSize() const override { return icon; }
    ui::hints::Size CloseButtonSize() const override { return closeButton; }

    // The windows not yet destroyed, in creation order.
    const std::vector<Window*>& Alive() const { return alive_; }
    int Visible() const {
        return static_cast<int>(std::count_if(alive_.begin(), alive_.end(),
                                              [](const Window* w) { return w->visible; }));
    }

    // A 1280 x 1024 screen whose task bar takes the bottom 30 pixels, at 96 dpi.
    ui::hints::HintScreen screen{{0, 0, 1280, 994}, {0, 0, 1280, 1024}, 96};
    FixedWidthMeasurer measurer{{7, 14}, {6, 13}};
    ui::hints::Size icon{16, 16};
    ui::hints::Size closeButton{14, 14};
    std::vector<BalloonEvent> events;
    int created = 0;

private:
    void Record(BalloonEvent::Kind kind, int number) { events.push_back({kind, number}); }

    std::vector<Window*> alive_;
};

class FakeControl : public ui::hints::HintControl {
public:
    explicit FakeControl(ui::hints::Rect rect, std::wstring hint = L"")
        : rect(rect), hint(std::move(hint)) {}
    bool Visible() const override { return visible; }
    bool HasParent() const override { return hasParent; }
    ui::hints::Rect ScreenRect() const override { return rect; }
    std::wstring Hint() const override { return hint; }

    ui::hints::Rect rect;
    std::wstring hint;
    bool visible = true;
    bool hasParent = true;
};

} // namespace ludrin::testing
