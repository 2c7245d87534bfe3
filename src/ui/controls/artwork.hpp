#pragma once
// The installer's pictures, drawn from shapes at whatever size the monitor's DPI asks for,
// so that they stay sharp at 120, 144 and 192 dpi. No image file comes from elsewhere.

#include "ui/controls/image.hpp"

namespace ludrin::ui {

enum class Artwork {
    Emblem,          // ReflectionImage: the Ludrin player tile with its play sign
    InstallBase,     // an arrow into a tray
    InstallAdvanced, // the administrator's shield
    Uninstall,       // a red disc with a cross
    Exit,            // a door with an arrow leaving it
    Help,            // a blue disc with a question mark
};

// A square picture `size` pixels wide, transparent around the drawing.
Image DrawArtwork(Artwork artwork, int size);

// The picture at the top, a gap, then its mirror image fading from `startOpacity` (0 to 1)
// to nothing over the picture's height; cut at `height` rows in all.
Image WithReflection(const Image& picture, int height, int gap, double startOpacity);

} // namespace ludrin::ui
