#include "ui/controls/artwork.hpp"

#include <gtest/gtest.h>

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

} // namespace
} // namespace ludrin::ui
