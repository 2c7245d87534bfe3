#include "ui/controls/glow_button_style.hpp"

#include <algorithm>

namespace ludrin::ui {

GlowColours ColoursFor(GlowState state) {
    switch (state) {
    case GlowState::Hot:
        return {{FromHex(0xE1F0F5), FromHex(0xB2D2F9)},
                {FromHex(0xADC8F5), FromHex(0xF4F8FF)},
                FromHex(0x7DA2CE)};
    case GlowState::Down:
    case GlowState::Checked:
        return {{FromHex(0xCAD8F5), FromHex(0xA0BDF9)},
                {FromHex(0x9CB4F5), FromHex(0xDCDFFF)},
                FromHex(0x5C7FB8)};
    case GlowState::Disabled:
        return {{FromHex(0xF2F2F2), FromHex(0xF2F2F2)},
                {FromHex(0xB6B6B6), FromHex(0xF2F2F2)},
                FromHex(0xC4C4C4)};
    case GlowState::Normal:
        break;
    }
    // The table gives no resting colours: a quiet silver of the same shape.
    return {{FromHex(0xFCFCFC), FromHex(0xF0F0F0)},
            {FromHex(0xE4E4E4), FromHex(0xF7F7F7)},
            FromHex(0x9DA4AE)};
}

Rgb FaceColourAt(const GlowColours& colours, int row, int height) {
    const int upper = std::max(height / 2, 1);
    const int lower = std::max(height - upper, 1);
    if (row < upper) {
        const double t = upper > 1 ? static_cast<double>(row) / (upper - 1) : 0.0;
        return Mix(colours.gradient.from, colours.gradient.to, t);
    }
    const double t = lower > 1 ? static_cast<double>(row - upper) / (lower - 1) : 0.0;
    return Mix(colours.mirror.from, colours.mirror.to, t);
}

void PaintGlowFace(Image& target, GlowState state, bool transparent, int radius, int border) {
    if (transparent && state == GlowState::Normal) {
        return;
    }
    const GlowColours colours = ColoursFor(state);
    const double w = target.width, h = target.height;
    const int height = target.height;
    FillShape(target, RoundRectShape(0, 0, w, h, radius), [&](double, double y) {
        const int row = std::clamp(static_cast<int>(y), 0, height - 1);
        return Rgba{FaceColourAt(colours, row, height), 1.0};
    });
    const double b = border;
    FillShape(target,
              Subtract(RoundRectShape(0, 0, w, h, radius),
                       RoundRectShape(b, b, w - b, h - b, std::max(radius - b, 0.0))),
              Rgba{colours.border, 1.0});
}

GlowLayout LayoutGlowContent(int width, int height, int imageSize, int textWidth, int textHeight,
                             int spacing, int margin) {
    GlowLayout layout;
    const int available = std::max(width - 2 * margin, 0);
    const int imageTop = (height - imageSize) / 2;
    if (textWidth <= 0) {
        layout.image = {(width - imageSize) / 2, imageTop, imageSize, imageSize};
        return layout;
    }
    int shown = textWidth;
    if (imageSize + spacing + shown > available) {
        shown = std::max(available - imageSize - spacing, 0);
        layout.captionClipped = true;
    }
    const int group = imageSize + spacing + shown;
    const int left = margin + (available - group) / 2;
    layout.image = {left, imageTop, imageSize, imageSize};
    layout.text = {left + imageSize + spacing, (height - textHeight) / 2, shown, textHeight};
    return layout;
}

} // namespace ludrin::ui
