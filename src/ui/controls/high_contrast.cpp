#include "ui/controls/high_contrast.hpp"

namespace ludrin::ui {

FlatColours HighContrastButton(GlowState state, bool focused, const SystemColours& colours) {
    if (state == GlowState::Disabled) {
        return {colours.buttonFace, colours.grayText, colours.grayText};
    }
    if (focused || state != GlowState::Normal) {
        return {colours.highlight, colours.highlightText, colours.buttonText};
    }
    return {colours.buttonFace, colours.buttonText, colours.buttonText};
}

FlatColours HighContrastPanel(const SystemColours& colours) {
    return {colours.window, colours.windowText, colours.windowText};
}

void PaintFlatFace(Image& target, const FlatColours& colours, int border) {
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const bool edge = x < border || y < border || x >= target.width - border ||
                              y >= target.height - border;
            target.At(x, y) = Opaque(edge ? colours.border : colours.face);
        }
    }
}

} // namespace ludrin::ui
