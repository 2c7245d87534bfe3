#pragma once
// How each kind of control looks, as plain data: the window's control table gives every
// control its look and the Win32 controls are made from it.

#include "ui/controls/artwork.hpp"
#include "ui/controls/image.hpp"

#include <optional>
#include <string_view>

namespace ludrin::ui {

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kMaroon{128, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kSilver{0xC0, 0xC0, 0xC0};

enum class PanelBevel {
    Raised,
    // A raised outer bevel, a border, a lowered inner bevel: a frame for the child that
    // fills the panel.
    RaisedWithLoweredInner,
};

struct PanelLook {
    PanelBevel bevel = PanelBevel::Raised;
    // The panel's colour, which its children paint behind themselves too; none: the
    // system's button face.
    std::optional<Rgb> fill{};
};

struct Label3DLook {
    Rgb colour = kBlack;
    bool centred = true; // otherwise left and top aligned
    // Grows or shrinks to the right to fit its text (top and height stay).
    bool autoSize = false;
};

struct GlowButtonLook {
    Artwork image = Artwork::Help;
    int spacing = 0;          // between image and caption, at 96 dpi
    bool transparent = false; // no face in the normal state
    Rgb textColour = kBlack;
};

struct PictureLook {
    Artwork artwork = Artwork::Emblem;
    int size = 32;                // the picture's side at 96 dpi
    double reflectionStart = 1.0; // with a reflection: its opacity where it starts, 0 to 1
};

struct FontLook {
    std::wstring_view face{};
    int points = 8;
    bool bold = false;
    bool italic = false;
    bool ansiCharset = false; // otherwise the default character set
};

} // namespace ludrin::ui
