#include "ui/hints/hint_geometry.hpp"

namespace ludrin::ui::hints {
namespace {

constexpr std::array kFallbackOrder{THintPosition::hpAboveLeft, THintPosition::hpAboveRight,
                                    THintPosition::hpBelowLeft, THintPosition::hpBelowRight};

THintPosition Next(THintPosition position) {
    return kFallbackOrder[(static_cast<std::size_t>(position) + 1) % kFallbackOrder.size()];
}

bool IsLeft(THintPosition position) {
    return position == THintPosition::hpAboveLeft || position == THintPosition::hpBelowLeft;
}

bool IsAbove(THintPosition position) {
    return position == THintPosition::hpAboveLeft || position == THintPosition::hpAboveRight;
}

Point TopLeftFor(THintPosition position, Point anchor, Size window, int d) {
    switch (position) {
    case THintPosition::hpAboveLeft:
        return {anchor.x - d - window.width, anchor.y - d - window.height};
    case THintPosition::hpAboveRight:
        return {anchor.x + d, anchor.y - d - window.height};
    case THintPosition::hpBelowLeft:
        return {anchor.x - 3 * d - window.width, anchor.y + d};
    case THintPosition::hpBelowRight:
        return {anchor.x + 6 * d, anchor.y + d};
    }
    return anchor;
}

// Both corners on the desktop; the bottom-right corner may touch its far edges.
bool Fits(const Rect& window, const Rect& desktop) {
    return window.left >= desktop.left && window.top >= desktop.top &&
           window.right <= desktop.right && window.bottom <= desktop.bottom;
}

} // namespace

BalloonLayout LayoutBalloon(std::wstring_view title, std::wstring_view text,
                            const TextMeasurer& measurer, const BalloonMetrics& m) {
    BalloonLayout layout{};
    const Size titleExtent = measurer.Measure(title, HintFont::Title, m.maxLineWidth);
    layout.title = {titleExtent.width + 2, titleExtent.height + 2};
    const Size textExtent = measurer.Measure(text, HintFont::Text, m.maxLineWidth);
    layout.text = {textExtent.width + 6, textExtent.height + 6};
    layout.content = {std::max(layout.text.width, layout.title.width),
                      layout.text.height + layout.title.height + 1};

    Size window = layout.content;
    window.width = std::max(window.width, m.noseWidth + m.roundRectWidth);
    window.width += m.noseLength + m.roundRectWidth / 2;
    window.height += m.noseLength + 9;
    window.width += m.closeButton.width + 4;
    window.height = std::max(window.height, m.closeButton.height + 2);
    window.width += m.icon.width + 2;
    window.height = std::max(window.height, m.icon.height + 2);
    layout.window = window;
    return layout;
}

Placement PlaceBalloon(Point anchor, Size window, const Rect& desktop, THintPosition preferred,
                       const BalloonMetrics& m) {
    THintPosition position = preferred;
    Rect rect{};
    bool fitted = false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const Point corner = TopLeftFor(position, anchor, window, m.distance);
        rect = {corner.x, corner.y, corner.x + window.width, corner.y + window.height};
        if (Fits(rect, desktop)) {
            fitted = true;
            break;
        }
        if (attempt < 3) {
            position = Next(position);
        }
    }
    if (m.rightAngledNose) {
        // The nose stands in from the body's corner: moving the window by as much brings
        // its tip back to the anchor.
        const int shift = (IsLeft(position) ? 1 : -1) * (m.noseLength + m.noseInset);
        rect.left += shift;
        rect.right += shift;
    }
    return {position, rect, fitted};
}

BalloonShape ShapeBalloon(THintPosition position, Size window, const BalloonMetrics& m) {
    const int w = window.width;
    const int h = window.height;
    const int l = m.noseLength;
    // Drawn for the above-left placement, then mirrored toward the nose's side.
    BalloonShape shape{{1, 0, w - l, h - l},
                       m.roundRectWidth,
                       {Point{w - l - m.noseWidth - m.noseInset, h - l},
                        Point{w - l - m.noseInset, h - l},
                        m.rightAngledNose ? Point{w - l - m.noseInset + 1, h} : Point{w, h}}};
    if (!IsLeft(position)) {
        shape.body = {w - shape.body.right, shape.body.top, w - shape.body.left, shape.body.bottom};
        for (Point& p : shape.nose) {
            p.x = w - p.x;
        }
    }
    if (!IsAbove(position)) {
        shape.body = {shape.body.left, h - shape.body.bottom, shape.body.right, h - shape.body.top};
        for (Point& p : shape.nose) {
            p.y = h - p.y;
        }
    }
    return shape;
}

BalloonParts ArrangeBalloon(const BalloonLayout& layout, const BalloonShape& shape,
                            const BalloonMetrics& m) {
    BalloonParts parts{};
    const Rect& body = shape.body;
    const int left = body.left + (body.Width() - layout.content.width) / 2;
    const int top = body.top + (body.Height() - layout.content.height) / 2 + 3;
    parts.content = {left, top, left + layout.content.width, top + layout.content.height};
    const int th = layout.title.height;
    parts.text = {parts.content.left + 2, parts.content.top + th + 1, parts.content.right + 2,
                  parts.content.bottom + th + 1};
    parts.title = {parts.text.left, parts.text.top - 1 - th, parts.text.left + layout.title.width,
                   parts.text.top - 1};
    parts.icon = {parts.text.left - m.icon.width - 1, parts.text.top - th};
    parts.closeButton = {parts.text.right - 1, parts.text.top,
                         parts.text.right - 1 + m.closeButton.width,
                         parts.text.top + m.closeButton.height};
    return parts;
}

} // namespace ludrin::ui::hints
