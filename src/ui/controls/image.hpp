#pragma once
// A small 32-bit picture in memory, the canvas of every control the window paints itself.
// Pixels are premultiplied 0xAARRGGBB, the byte order of a 32-bit Windows DIB.

#include <cstdint>
#include <functional>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

namespace ludrin::ui {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// 0xRRGGBB, as web colours are written (#E1F0F5 is 0xE1F0F5).
constexpr Rgb FromHex(std::uint32_t hex) {
    return {static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8),
            static_cast<std::uint8_t>(hex)};
}

// a at t = 0, b at t = 1, rounded to the nearest step.
Rgb Mix(Rgb a, Rgb b, double t);

// A colour with coverage: what a shape asks to paint at one point.
struct Rgba {
    Rgb rgb;
    double alpha = 1.0; // 0 to 1
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // row by row, top row first

    Image() = default;
    Image(int w, int h, std::uint32_t fill = 0);

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // The colour a pixel shows over black (premultiplied) and its alpha, 0 to 255.
    Rgb ColourAt(int x, int y) const;
    int AlphaAt(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }
};

std::uint32_t Opaque(Rgb colour);

// Source-over compositing of one picture onto another at (x, y), with an extra opacity.
void Composite(Image& target, const Image& source, int x, int y, double opacity = 1.0);
// The same for one pixel.
std::uint32_t SourceOver(std::uint32_t target, std::uint32_t source, double opacity = 1.0);

// A region of the plane: a test of points, and an extent outside which the test is false (the
// whole plane when not known), so that filling visits only the pixels the extent touches.
// Coordinates are in pixels with (0, 0) at the top-left corner of the top-left pixel.
struct Extent {
    double left = -std::numeric_limits<double>::infinity();
    double top = -std::numeric_limits<double>::infinity();
    double right = std::numeric_limits<double>::infinity();
    double bottom = std::numeric_limits<double>::infinity();
};

class Shape {
public:
    // A bare test: its extent is the whole plane.
    template <class Test>
    requires(!std::is_same_v<Test, Shape> &&
             std::is_invocable_r_v<bool, const Test&, double, double>) Shape(Test test)
        : test_(std::move(test)) {}
    Shape(std::function<bool(double, double)> test, Extent extent)
        : test_(std::move(test)), extent_(extent) {}

    bool operator()(double x, double y) const { return test_(x, y); }
    const Extent& Bounds() const { return extent_; }

private:
    std::function<bool(double, double)> test_;
    Extent extent_;
};

// Fills the part of the picture inside a shape, antialiased by 4 x 4 samples per pixel.
using Paint = std::function<Rgba(double x, double y)>;
void FillShape(Image& target, const Shape& inside, const Paint& paint);
void FillShape(Image& target, const Shape& inside, Rgba colour);

// Shapes.
Shape RoundRectShape(double left, double top, double right, double bottom, double radius);
Shape EllipseShape(double cx, double cy, double rx, double ry);
Shape RingShape(double cx, double cy, double outer, double inner);
Shape PolygonShape(std::vector<std::pair<double, double>> points);
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);

// A vertical gradient between two rows.
Paint VerticalGradient(Rgb top, Rgb bottom, double y0, double y1, double alpha = 1.0);

} // namespace ludrin::ui
