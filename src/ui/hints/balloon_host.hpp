#pragma once
// What the balloon component needs from the window system: a window per balloon, the
// screen it appears on, text extents, and the controls that balloons point at. The Win32
// side implements it; the native tests record what they are asked.

#include "ui/controls/image.hpp"
#include "ui/hints/hint_geometry.hpp"

#include <memory>
#include <optional>
#include <string>

namespace ludrin::ui::hints {

enum class THintIcon { hitCustom, hitError, hitInfo, hitQuestion, hitWarning };

enum class CloseButtonState { Normal, Hot, Pressed };

// Everything a balloon window paints, worked out by the component.
struct BalloonPicture {
    Rect window; // screen coordinates
    THintPosition position;
    BalloonShape shape;
    BalloonParts parts;
    std::wstring title;
    std::wstring text;
    THintIcon icon;            // never hitCustom
    std::optional<Rgb> colour; // none: the system's tool-tip colour
    Rgb borderColour;
};

// One balloon on the screen. Destroying it removes it from the screen.
class BalloonWindow {
public:
    virtual ~BalloonWindow() = default;
    virtual void Show(const BalloonPicture& picture) = 0;
    // Off the screen; the window lives on until it is destroyed.
    virtual void Hide() = 0;
    virtual void ShowCloseButton(CloseButtonState state) = 0;
};

// The pointer over a balloon's window, in window coordinates, as the window system reports it.
class BalloonInput {
public:
    virtual ~BalloonInput() = default;
    virtual void MouseMove(Point point) = 0;
    virtual void MouseLeave() = 0;
    virtual void MouseDown(Point point) = 0;
    virtual void MouseUp(Point point) = 0;
};

struct HintScreen {
    Rect workArea;
    Rect desktop; // the virtual desktop, all monitors
    int dpi = 96;
};

class BalloonHost {
public:
    virtual ~BalloonHost() = default;
    // A window that reports the pointer over it to `input`; shown by Show.
    virtual std::unique_ptr<BalloonWindow> CreateBalloon(BalloonInput& input) = 0;
    virtual HintScreen Screen() const = 0;
    // In the fonts the balloons are painted with, at the screen's DPI.
    virtual const TextMeasurer& Measurer() const = 0;
    virtual Size IconSize() const = 0;
    virtual Size CloseButtonSize() const = 0;
};

// A control that a balloon can point at.
class HintControl {
public:
    virtual ~HintControl() = default;
    virtual bool Visible() const = 0;
    virtual bool HasParent() const = 0;
    virtual Rect ScreenRect() const = 0;
    // The control's own tool-tip text.
    virtual std::wstring Hint() const = 0;
};

} // namespace ludrin::ui::hints
