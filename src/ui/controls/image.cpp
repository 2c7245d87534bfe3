#include "ui/controls/image.hpp"

#include <algorithm>
#include <cmath>

namespace ludrin::ui {
namespace {

constexpr int kSamples = 4; // per axis

std::uint8_t Channel(std::uint32_t pixel, int shift) {
    return static_cast<std::uint8_t>((pixel >> shift) & 0xFF);
}

std::uint32_t Pack(double a, double r, double g, double b) {
    const auto byte = [](double v) {
        return static_cast<std::uint32_t>(std::clamp(std::lround(v), 0L, 255L));
    };
    return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

} // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    const auto mix = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

Image::Image(int w, int h, std::uint32_t fill)
    : width(std::max(w, 0)), height(std::max(h, 0)),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

Rgb Image::ColourAt(int x, int y) const {
    const std::uint32_t p = At(x, y);
    return {Channel(p, 16), Channel(p, 8), Channel(p, 0)};
}

std::uint32_t Opaque(Rgb c) {
    return 0xFF000000u | std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b;
}

std::uint32_t SourceOver(std::uint32_t d, std::uint32_t s, double opacity) {
    const double sa = Channel(s, 24) * opacity;
    if (sa <= 0.0) {
        return d;
    }
    const double keep = 1.0 - sa / 255.0;
    return Pack(sa + Channel(d, 24) * keep, Channel(s, 16) * opacity + Channel(d, 16) * keep,
                Channel(s, 8) * opacity + Channel(d, 8) * keep,
                Channel(s, 0) * opacity + Channel(d, 0) * keep);
}

void Composite(Image& target, const Image& source, int x, int y, double opacity) {
    opacity = std::clamp(opacity, 0.0, 1.0);
    for (int sy = 0; sy < source.height; ++sy) {
        const int ty = y + sy;
        if (ty < 0 || ty >= target.height) {
            continue;
        }
        for (int sx = 0; sx < source.width; ++sx) {
            const int tx = x + sx;
            if (tx >= 0 && tx < target.width) {
                target.At(tx, ty) = SourceOver(target.At(tx, ty), source.At(sx, sy), opacity);
            }
        }
    }
}

void FillShape(Image& target, const Shape& inside, const Paint& paint) {
    constexpr double step = 1.0 / kSamples;
    // Only the pixels the shape's extent touches, a pixel's margin around it for rounding;
    // an edge that is not a number leaves that side of the picture open.
    const Extent& box = inside.Bounds();
    const auto first = [](double edge, int size) {
        const double at = std::floor(edge) - 1.0;
        return at >= 0.0 ? static_cast<int>(std::min(at, static_cast<double>(size))) : 0;
    };
    const auto end = [](double edge, int size) {
        const double at = std::ceil(edge) + 1.0;
        return at <= size ? static_cast<int>(std::max(at, 0.0)) : size;
    };
    const int x0 = first(box.left, target.width), x1 = end(box.right, target.width);
    const int y0 = first(box.top, target.height), y1 = end(box.bottom, target.height);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            // Average premultiplied colour of the samples inside the shape.
            double a = 0, r = 0, g = 0, b = 0;
            for (int j = 0; j < kSamples; ++j) {
                for (int i = 0; i < kSamples; ++i) {
                    const double px = x + (i + 0.5) * step;
                    const double py = y + (j + 0.5) * step;
                    if (!inside(px, py)) {
                        continue;
                    }
                    const Rgba c = paint(px, py);
                    a += c.alpha;
                    r += c.rgb.r * c.alpha;
                    g += c.rgb.g * c.alpha;
                    b += c.rgb.b * c.alpha;
                }
            }
            if (a <= 0.0) {
                continue;
            }
            constexpr double n = kSamples * kSamples;
            target.At(x, y) = SourceOver(target.At(x, y), Pack(a / n * 255.0, r / n, g / n, b / n));
        }
    }
}

void FillShape(Image& target, const Shape& inside, Rgba colour) {
    FillShape(target, inside, [colour](double, double) { return colour; });
}

Shape RoundRectShape(double left, double top, double right, double bottom, double radius) {
    return {[=](double x, double y) {
                if (x < left || x > right || y < top || y > bottom) {
                    return false;
                }
                const double cx = std::clamp(x, left + radius, right - radius);
                const double cy = std::clamp(y, top + radius, bottom - radius);
                const double dx = x - cx, dy = y - cy;
                return dx * dx + dy * dy <= radius * radius;
            },
            Extent{left, top, right, bottom}};
}

Shape EllipseShape(double cx, double cy, double rx, double ry) {
    return {[=](double x, double y) {
                const double dx = (x - cx) / rx, dy = (y - cy) / ry;
                return dx * dx + dy * dy <= 1.0;
            },
            Extent{cx - std::abs(rx), cy - std::abs(ry), cx + std::abs(rx), cy + std::abs(ry)}};
}

Shape RingShape(double cx, double cy, double outer, double inner) {
    return Subtract(EllipseShape(cx, cy, outer, outer), EllipseShape(cx, cy, inner, inner));
}

Shape PolygonShape(std::vector<std::pair<double, double>> points) {
    Extent box{};
    if (!points.empty()) {
        box = {points[0].first, points[0].second, points[0].first, points[0].second};
        for (const auto& [x, y] : points) {
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                   std::max(box.bottom, y)};
        }
    }
    // Even-odd rule.
    return {[points = std::move(points)](double x, double y) {
                bool in = false;
                for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                    const auto [xi, yi] = points[i];
                    const auto [xj, yj] = points[j];
                    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) {
                        in = !in;
                    }
                }
                return in;
            },
            box};
}

Shape Intersect(Shape a, Shape b) {
    const Extent& p = a.Bounds();
    const Extent& q = b.Bounds();
    const Extent box{std::max(p.left, q.left), std::max(p.top, q.top), std::min(p.right, q.right),
                     std::min(p.bottom, q.bottom)};
    return {[a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && b(x, y); },
            box};
}

Shape Subtract(Shape a, Shape b) {
    const Extent box = a.Bounds();
    return {
        [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); },
        box};
}

Paint VerticalGradient(Rgb top, Rgb bottom, double y0, double y1, double alpha) {
    return [=](double, double y) {
        const double t = y1 > y0 ? (y - y0) / (y1 - y0) : 0.0;
        return Rgba{Mix(top, bottom, t), alpha};
    };
}

} // namespace ludrin::ui
