#pragma once
// The controls under a high-contrast theme: flat faces in the user's system colours, no
// gradients, glow or shadows, so text contrast follows the theme instead of the artwork.

#include "ui/controls/glow_button_style.hpp"
#include "ui/controls/image.hpp"

namespace ludrin::ui {

// The system colours the flat look is made of, as the theme sets them.
struct SystemColours {
    Rgb buttonFace, buttonText;
    Rgb highlight, highlightText;
    Rgb grayText;
    Rgb window, windowText;
};

struct FlatColours {
    Rgb face, text, border;
    friend bool operator==(const FlatColours&, const FlatColours&) = default;
};

// A glow button: the button colours at rest, the selection colours where the pointer or the
// keyboard is (hot, pressed or focused), grey text when disabled. A transparent button shows
// its face too, so its extent stays visible.
FlatColours HighContrastButton(GlowState state, bool focused, const SystemColours& colours);

// Panels and everything drawn on them (labels, pictures' backgrounds, the text box): the
// window colours, with a frame in the text colour instead of a bevel.
FlatColours HighContrastPanel(const SystemColours& colours);

// Fills the picture with the face and frames it with `border` pixels of the border colour.
void PaintFlatFace(Image& target, const FlatColours& colours, int border);

} // namespace ludrin::ui
