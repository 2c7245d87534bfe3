#pragma once
// How a glow button looks in each state: the installer's colour table for its buttons, the
// face painted from it, and where the image and the caption go.

#include "ui/controls/image.hpp"

namespace ludrin::ui {

enum class GlowState { Normal, Hot, Down, Checked, Disabled };

struct Gradient {
    Rgb from, to;
};

struct GlowColours {
    Gradient gradient; // upper half
    Gradient mirror;   // lower half
    Rgb border;
};

GlowColours ColoursFor(GlowState state);

// The face colour of one row: the gradient runs over the upper half, the mirror gradient
// over the lower half.
Rgb FaceColourAt(const GlowColours& colours, int row, int height);

// Paints the rounded face and its border over what the picture already holds (the
// parent's background). A transparent button shows nothing in its normal state.
void PaintGlowFace(Image& target, GlowState state, bool transparent, int radius, int border);

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    int Right() const { return left + width; }
    friend bool operator==(const Box&, const Box&) = default;
};

struct GlowLayout {
    Box image;
    Box text;
    bool captionClipped = false; // the caption did not fit and is cut with an ellipsis
};

// Image and caption side by side, `spacing` apart, centred together inside the margins;
// a button without caption centres its image.
GlowLayout LayoutGlowContent(int width, int height, int imageSize, int textWidth, int textHeight,
                             int spacing, int margin);

} // namespace ludrin::ui
