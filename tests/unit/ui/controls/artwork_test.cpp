#include "ui/controls/artwork.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace ludrin::ui {
namespace {

int Opaque(const Image& image) {
    int count = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            count += image.AlphaAt(x, y) == 255 ? 1 : 0;
        }
    }
    return count;
}

TEST(Artwork, EveryPictureIsDrawnAtTheAskedSizeWithATransparentBorder) {
    for (const auto artwork : {Artwork::Emblem, Artwork::InstallBase, Artwork::InstallAdvanced,
                               Artwork::Uninstall, Artwork::Exit, Artwork::Help}) {
        for (const int size : {32, 48, 128}) {
            const Image image = DrawArtwork(artwork, size);
            ASSERT_EQ(image.width, size);
            ASSERT_EQ(image.height, size);
            EXPECT_EQ(image.AlphaAt(0, 0), 0);
            // A real drawing covers a good part of its square.
            EXPECT_GT(Opaque(image), size * size / 5) << static_cast<int>(artwork) << " " << size;
        }
    }
}

TEST(Artwork, PremultipliedPixelsNeverExceedTheirAlpha) {
    const Image image = DrawArtwork(Artwork::Emblem, 64);
    for (const auto pixel : image.pixels) {
        const auto alpha = pixel >> 24;
        EXPECT_LE((pixel >> 16) & 0xFF, alpha);
        EXPECT_LE((pixel >> 8) & 0xFF, alpha);
        EXPECT_LE(pixel & 0xFF, alpha);
    }
}

TEST(Reflection, MirrorsThePictureBelowAGapAndFadesOut) {
    Image picture(4, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 4; ++x) {
            picture.At(x, y) = Opaque(Rgb{static_cast<std::uint8_t>(y * 20), 0, 0});
        }
    }
    const Image result = WithReflection(picture, 25, 2, 1.0);
    ASSERT_EQ(result.height, 25);
    EXPECT_EQ(result.At(1, 3), picture.At(1, 3));
    EXPECT_EQ(result.AlphaAt(1, 10), 0); // the gap
    EXPECT_EQ(result.AlphaAt(1, 11), 0);
    // Starts at full opacity with the picture's last row, then fades row by row.
    EXPECT_EQ(result.At(1, 12), picture.At(1, 9));
    for (int y = 13; y < 22; ++y) {
        EXPECT_LT(result.AlphaAt(1, y), result.AlphaAt(1, y - 1)) << y;
    }
    EXPECT_EQ(result.AlphaAt(1, 22), 0); // past the picture's own height
}

TEST(Reflection, StartOpacityScalesTheFirstMirroredRow) {
    Image picture(2, 4, Opaque(Rgb{200, 100, 50}));
    const Image result = WithReflection(picture, 8, 0, 0.5);
    EXPECT_NEAR(result.AlphaAt(0, 4), 128, 1);
}

TEST(Composite, SourceOverKeepsOpaquePixelsAndBlendsHalfOnes) {
    Image target(1, 1, Opaque(Rgb{0, 0, 255}));
    Image half(1, 1, 0x80800000u); // red at half coverage, premultiplied
    Composite(target, half, 0, 0);
    const Rgb c = target.ColourAt(0, 0);
    EXPECT_EQ(target.AlphaAt(0, 0), 255);
    EXPECT_EQ(c.r, 128);
    EXPECT_NEAR(c.b, 127, 1);
}

// Filling visits only the pixels a shape's extent touches: the picture is the same as when
// every pixel is tried, for shapes inside, across and outside the picture's edges.
TEST(FillShape, WithinTheExtentPaintsWhatEveryPixelWouldPaint) {
    const std::vector<std::pair<const char*, Shape>> shapes{
        {"round rect", RoundRectShape(3.3, 2.7, 17.9, 21.2, 4.1)},
        {"round rect across the edges", RoundRectShape(-5, -3.5, 45.5, 12, 6)},
        {"thin rect", RoundRectShape(10.5, 4, 10.6, 25, 0)},
        {"ellipse", EllipseShape(20.4, 15.6, 11.3, 6.2)},
        {"ellipse past the right edge", EllipseShape(38, 29, 9, 9)},
        {"ellipse outside", EllipseShape(-20, -20, 5, 5)},
        {"ring", RingShape(12, 12, 10.5, 6.25)},
        {"triangle", PolygonShape({{2.2, 28.9}, {19.7, 1.1}, {37.3, 28.9}})},
        {"arrow",
         PolygonShape({{5, 5}, {25, 5}, {25, 0}, {39.9, 15}, {25, 30}, {25, 25}, {5, 25}})},
        {"intersection", Intersect(EllipseShape(15, 15, 12, 12), RoundRectShape(10, 0, 40, 30, 2))},
        {"intersection with a bare test",
         Intersect(RingShape(20, 15, 14, 9), [](double x, double y) { return x > y; })},
        {"difference", Subtract(RoundRectShape(0, 0, 40, 30, 5), EllipseShape(20, 15, 8, 8))},
        {"extent not a number", Shape([](double x, double y) { return x + y < 30 && y >= 2; },
                                      Extent{std::nan(""), 2, 30, std::nan("")})},
    };
    for (const auto& [what, shape] : shapes) {
        const auto fill = [](const Shape& inside) {
            Image image(40, 30);
            for (std::size_t i = 0; i < image.pixels.size(); ++i) {
                image.pixels[i] = i % 3 == 0 ? 0xFF204060u : (i % 3 == 1 ? 0x80402010u : 0u);
            }
            FillShape(image, inside,
                      VerticalGradient(FromHex(0xFF8000), FromHex(0x0080FF), 0, 30, 0.8));
            return image.pixels;
        };
        const Shape everywhere = [&shape](double x, double y) {
            return shape(x, y);
        };
        EXPECT_EQ(fill(shape), fill(everywhere)) << what;
    }
}

} // namespace
} // namespace ludrin::ui
