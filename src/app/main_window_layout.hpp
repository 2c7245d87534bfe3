#pragma once
// The main window's controls as data: nesting, rectangles at 96 dpi, tab order, texts,
// fonts and looks. The Win32 window is built from this table and the test driver checks
// against it.

#include "ui/controls/control_looks.hpp"
#include "ui/controls/dpi_scale.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

namespace ludrin::app {

inline constexpr int kClientWidth = 775;
inline constexpr int kClientHeight = 309;
using ui::kDesignDpi;

// Control identifiers, stable so that another process can find a control.
enum class ControlId : std::uint16_t {
    Form = 0,
    PanelTop = 1001,
    LabelTitle,
    LabelVersion,
    PanelLeft,
    ReflectionImage,
    btnDisinstalla,
    btnClose,
    PanelMain,
    Panel1,
    reMsg,
    Panel2,
    Image1,
    btnInstallaBase,
    btnInstallaComplete,
    btnHelpBase,
    btnHelpComplete,
    PanelCopyright,
    Panel3,
    ProgressBar1,
    LabelPanelCopyright,
};

enum class ControlKind {
    Panel,
    Label3D, // label with raised 3D text
    GlowButton,
    Reflection, // picture with a mirrored reflection below it
    Picture,
    RichText,
    ProgressBar,
};

// A control's place: left, top, width and height (the balloons' hints::Rect has edges).
struct ControlBounds {
    int left, top, width, height;
    friend bool operator==(const ControlBounds&, const ControlBounds&) = default;
};

// The window's fonts; controls that draw no text take none.
enum class ControlFont { None, Normal, Title, Italic, Bold, RichText };
inline constexpr int kControlFontCount = 6;
const ui::FontLook& FontLookOf(ControlFont font); // not for None

// The look of a panel, a 3D label, a glow button or a picture; nothing for the system
// controls.
using ControlLook = std::variant<std::monostate, ui::PanelLook, ui::Label3DLook, ui::GlowButtonLook,
                                 ui::PictureLook>;

struct ControlDef {
    ControlId id;
    std::wstring_view name;
    ControlId parent;
    ControlKind kind;
    ControlBounds rect;        // relative to the parent's client area, at 96 dpi
    int tabOrder;              // within the parent; -1 for controls that take no focus
    std::wstring_view text;    // caption or design text
    std::wstring_view toolTip; // empty: none
    ControlFont font;
    ControlLook look;
};

// Every control, parents before their children.
std::span<const ControlDef> MainWindowControls();
const ControlDef* FindControl(ControlId id);

// The control's window text: its caption, or for a button without one (shown as an image
// only) its hint, so that a screen reader has a name to announce.
std::wstring_view WindowTextOf(const ControlDef& spec);

// The controls that take the keyboard focus, in the order Tab visits them: each parent's
// children by their tab order, containers entered depth first, as the form framework does.
std::vector<ControlId> TabSequence();

// The nine lines of the introduction text, joined with CR LF.
std::wstring_view IntroductionText();

// A length at 96 dpi scaled to another DPI, rounded to the nearest pixel.
using ui::ScaleToDpi;

} // namespace ludrin::app
