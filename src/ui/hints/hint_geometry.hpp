#pragma once
// A balloon's geometry as plain arithmetic: how big it is for its title and text, where it
// goes around its anchor point, its outline (body and nose) and where each part is painted.
// Text extents come from a measurer, so the arithmetic needs no window system.

#include <algorithm>
#include <array>
#include <string_view>

namespace ludrin::ui::hints {

struct Point {
    int x, y;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width, height;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive, as in window coordinates.
struct Rect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class THintPosition { hpAboveLeft, hpAboveRight, hpBelowLeft, hpBelowRight };

enum class HintFont { Title, Text };

// Extents of a text drawn in one of the balloon's fonts, lines broken at CR LF and words
// wrapped so that no line is wider than maxWidth (a single longer word may be).
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual Size Measure(std::wstring_view text, HintFont font, int maxWidth) const = 0;
};

// Every length in pixels of the screen the balloon appears on.
struct BalloonMetrics {
    int noseLength = 25;
    int noseWidth = 25;
    int roundRectWidth = 18;
    int distance = 1;
    // How far the nose's right-angled side stands in from the body's free strip.
    int noseInset = 20;
    bool rightAngledNose = false;
    Size icon{16, 16};
    Size closeButton{16, 16};
    int maxLineWidth = 0;
};

struct BalloonLayout {
    Size title;   // tw, th
    Size text;    // the text's extent plus its margin
    Size content; // title over text
    Size window;
};

BalloonLayout LayoutBalloon(std::wstring_view title, std::wstring_view text,
                            const TextMeasurer& measurer, const BalloonMetrics& metrics);

struct Placement {
    THintPosition position;
    Rect window; // screen coordinates
    bool fitted; // false: no placement fitted and the last one tried stands
};

// Tries the preferred placement, then the others in turn, against the desktop.
Placement PlaceBalloon(Point anchor, Size window, const Rect& desktop, THintPosition preferred,
                       const BalloonMetrics& metrics);

// The outline in window coordinates: a rounded body joined with a triangular nose.
struct BalloonShape {
    Rect body;
    int corner;                // width and height of the rounding ellipse
    std::array<Point, 3> nose; // base, base, tip
    Point Tip() const { return nose[2]; }
};

BalloonShape ShapeBalloon(THintPosition position, Size window, const BalloonMetrics& metrics);

// Where the parts are painted, in window coordinates.
struct BalloonParts {
    Rect content;
    Rect text;
    Rect title;
    Point icon; // top-left corner
    Rect closeButton;
};

BalloonParts ArrangeBalloon(const BalloonLayout& layout, const BalloonShape& shape,
                            const BalloonMetrics& metrics);

inline bool Contains(const Rect& rect, Point point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

} // namespace ludrin::ui::hints
