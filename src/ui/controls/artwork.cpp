#include "ui/controls/artwork.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace ludrin::ui {
namespace {

using Points = std::vector<std::pair<double, double>>;

// Every drawing is designed on a unit square and scaled to the requested size.
class Unit {
public:
    explicit Unit(int size) : s_(size) {}
    double operator()(double v) const { return v * s_; }
    Points Scale(const Points& points) const {
        Points out;
        for (const auto& [x, y] : points) {
            out.emplace_back(x * s_, y * s_);
        }
        return out;
    }
    Shape RoundRect(double l, double t, double r, double b, double radius) const {
        return RoundRectShape(l * s_, t * s_, r * s_, b * s_, radius * s_);
    }
    Shape Circle(double cx, double cy, double r) const {
        return EllipseShape(cx * s_, cy * s_, r * s_, r * s_);
    }
    Shape Polygon(const Points& points) const { return PolygonShape(Scale(points)); }
    Paint Vertical(std::uint32_t top, std::uint32_t bottom, double y0, double y1,
                   double alpha = 1.0) const {
        return VerticalGradient(FromHex(top), FromHex(bottom), y0 * s_, y1 * s_, alpha);
    }

private:
    double s_;
};

// A soft white sheen over the upper part of a shape.
void Gloss(Image& image, const Unit& u, const Shape& within, double cx, double cy, double rx,
           double ry, double topAlpha, double bottomY) {
    FillShape(image, Intersect(within, EllipseShape(u(cx), u(cy), u(rx), u(ry))),
              [&](double, double y) {
                  const double t = std::clamp(y / u(bottomY), 0.0, 1.0);
                  return Rgba{FromHex(0xFFFFFF), topAlpha * (1.0 - t)};
              });
}

// Points scaled towards a centre: the inner part of a shape with an outline.
Points Shrink(const Points& points, double cx, double cy, double factor) {
    Points out;
    for (const auto& [x, y] : points) {
        out.emplace_back(cx + (x - cx) * factor, cy + (y - cy) * factor);
    }
    return out;
}

Image Emblem(int size) {
    Image image(size, size);
    const Unit u(size);
    const Shape tile = u.RoundRect(0.06, 0.06, 0.94, 0.94, 0.2);
    FillShape(image, tile, u.Vertical(0x0A2F73, 0x061C47, 0.06, 0.94));
    const Shape face = u.RoundRect(0.075, 0.075, 0.925, 0.925, 0.185);
    FillShape(image, face, u.Vertical(0x4FA3FF, 0x0C3C93, 0.075, 0.925));
    // A ring with the play sign: the player.
    FillShape(image, RingShape(u(0.5), u(0.53), u(0.29), u(0.24)), Rgba{FromHex(0xFFFFFF), 0.95});
    FillShape(image, u.Polygon({{0.43, 0.40}, {0.43, 0.66}, {0.65, 0.53}}),
              u.Vertical(0xFFFFFF, 0xDCE9FF, 0.40, 0.66));
    // Sound waves to the right of the ring.
    for (const double r : {0.36, 0.42}) {
        const double cx = u(0.5), cy = u(0.53);
        FillShape(image,
                  Intersect(RingShape(cx, cy, u(r), u(r - 0.025)),
                            [=](double x, double y) {
                                return x > cx && std::abs(y - cy) < (x - cx) * 0.9;
                            }),
                  Rgba{FromHex(0xFFFFFF), 0.7});
    }
    Gloss(image, u, face, 0.5, 0.08, 0.6, 0.38, 0.55, 0.46);
    return image;
}

Image InstallBase(int size) {
    Image image(size, size);
    const Unit u(size);
    // The tray.
    FillShape(
        image,
        Subtract(u.RoundRect(0.08, 0.56, 0.92, 0.92, 0.08), u.RoundRect(0.2, 0.44, 0.8, 0.8, 0.04)),
        u.Vertical(0x9AA4AE, 0x56606B, 0.56, 0.92));
    // The arrow going into it.
    const Points arrow{{0.38, 0.04}, {0.62, 0.04}, {0.62, 0.38}, {0.8, 0.38},
                       {0.5, 0.72},  {0.2, 0.38},  {0.38, 0.38}};
    FillShape(image, u.Polygon(arrow), u.Vertical(0x1E7A2B, 0x145A1E, 0.04, 0.72));
    FillShape(image, u.Polygon(Shrink(arrow, 0.5, 0.38, 0.86)),
              u.Vertical(0x7BDB6E, 0x25A03A, 0.04, 0.72));
    return image;
}

Image InstallAdvanced(int size) {
    Image image(size, size);
    const Unit u(size);
    const Points shield{{0.5, 0.04}, {0.88, 0.16}, {0.85, 0.52},
                        {0.5, 0.96}, {0.15, 0.52}, {0.12, 0.16}};
    FillShape(image, u.Polygon(shield), Rgba{FromHex(0x3A3F4A), 1.0});
    // Blue and yellow quarters: the sign of administrative rights.
    const double cx = u(0.5), cy = u(0.47);
    FillShape(image, u.Polygon(Shrink(shield, 0.5, 0.5, 0.86)), [=](double x, double y) {
        const bool blue = (x < cx) == (y < cy);
        return Rgba{blue ? Mix(FromHex(0x5B9BF2), FromHex(0x1F56B8), y / u(1.0))
                         : Mix(FromHex(0xFFE066), FromHex(0xE0A800), y / u(1.0)),
                    1.0};
    });
    Gloss(image, u, u.Polygon(shield), 0.5, 0.0, 0.45, 0.42, 0.5, 0.45);
    return image;
}

Image Uninstall(int size) {
    Image image(size, size);
    const Unit u(size);
    FillShape(image, u.Circle(0.5, 0.5, 0.45), u.Vertical(0x9E1B10, 0x6E120A, 0.05, 0.95));
    FillShape(image, u.Circle(0.5, 0.5, 0.41), u.Vertical(0xF4745F, 0xC0271A, 0.09, 0.91));
    // The cross: two bars at 45 degrees.
    const double h = 0.07, l = 0.22;
    FillShape(image,
              u.Polygon({{0.5 - l - h, 0.5 - l + h},
                         {0.5 - l + h, 0.5 - l - h},
                         {0.5 + l + h, 0.5 + l - h},
                         {0.5 + l - h, 0.5 + l + h}}),
              Rgba{FromHex(0xFFFFFF), 1.0});
    FillShape(image,
              u.Polygon({{0.5 + l - h, 0.5 - l - h},
                         {0.5 + l + h, 0.5 - l + h},
                         {0.5 - l + h, 0.5 + l + h},
                         {0.5 - l - h, 0.5 + l - h}}),
              Rgba{FromHex(0xFFFFFF), 1.0});
    Gloss(image, u, u.Circle(0.5, 0.5, 0.41), 0.5, 0.1, 0.4, 0.32, 0.5, 0.45);
    return image;
}

Image Exit(int size) {
    Image image(size, size);
    const Unit u(size);
    // The door frame and the open doorway.
    FillShape(image, u.RoundRect(0.08, 0.06, 0.62, 0.94, 0.04),
              u.Vertical(0x7A4E24, 0x5A3518, 0.06, 0.94));
    FillShape(image, u.RoundRect(0.14, 0.12, 0.56, 0.94, 0.02),
              u.Vertical(0xC8965E, 0x99683A, 0.12, 0.94));
    FillShape(image, u.Circle(0.48, 0.54, 0.035), Rgba{FromHex(0xFFD24A), 1.0});
    // The arrow leaving it.
    const Points arrow{{0.3, 0.42}, {0.6, 0.42}, {0.6, 0.26}, {0.94, 0.5},
                       {0.6, 0.74}, {0.6, 0.58}, {0.3, 0.58}};
    FillShape(image, u.Polygon(arrow), Rgba{FromHex(0x8E2A0E), 1.0});
    FillShape(image, u.Polygon(Shrink(arrow, 0.62, 0.5, 0.84)),
              u.Vertical(0xFF8C55, 0xD9431C, 0.26, 0.74));
    return image;
}

Image Help(int size) {
    Image image(size, size);
    const Unit u(size);
    FillShape(image, u.Circle(0.5, 0.5, 0.45), u.Vertical(0x15498F, 0x0C2F60, 0.05, 0.95));
    FillShape(image, u.Circle(0.5, 0.5, 0.41), u.Vertical(0x6DB6F7, 0x1B5FB5, 0.09, 0.91));
    // The question mark: an open hook, its stem and the dot.
    const double cx = u(0.5), cy = u(0.38);
    FillShape(image,
              Intersect(RingShape(cx, cy, u(0.17), u(0.085)),
                        [=](double x, double y) { return !(x < cx && y > cy); }),
              Rgba{FromHex(0xFFFFFF), 1.0});
    FillShape(image, u.RoundRect(0.455, 0.47, 0.545, 0.62, 0.015), Rgba{FromHex(0xFFFFFF), 1.0});
    FillShape(image, u.Circle(0.5, 0.74, 0.055), Rgba{FromHex(0xFFFFFF), 1.0});
    Gloss(image, u, u.Circle(0.5, 0.5, 0.41), 0.5, 0.1, 0.4, 0.32, 0.45, 0.45);
    return image;
}

} // namespace

Image DrawArtwork(Artwork artwork, int size) {
    size = std::max(size, 1);
    switch (artwork) {
    case Artwork::Emblem:
        return Emblem(size);
    case Artwork::InstallBase:
        return InstallBase(size);
    case Artwork::InstallAdvanced:
        return InstallAdvanced(size);
    case Artwork::Uninstall:
        return Uninstall(size);
    case Artwork::Exit:
        return Exit(size);
    case Artwork::Help:
        return Help(size);
    }
    return Image(size, size);
}

Image WithReflection(const Image& picture, int height, int gap, double startOpacity) {
    Image result(picture.width, std::max(height, 0));
    Composite(result, picture, 0, 0);
    const int first = picture.height + gap;
    for (int row = 0; first + row < result.height && row < picture.height; ++row) {
        const double opacity =
            std::clamp(startOpacity, 0.0, 1.0) * (1.0 - static_cast<double>(row) / picture.height);
        Image line(picture.width, 1);
        const auto source = picture.pixels.begin() +
                            static_cast<std::ptrdiff_t>(picture.height - 1 - row) * picture.width;
        std::copy_n(source, picture.width, line.pixels.begin());
        Composite(result, line, 0, first + row, opacity);
    }
    return result;
}

} // namespace ludrin::ui
