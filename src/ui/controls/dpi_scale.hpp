#pragma once
// Lengths designed at 96 dpi, scaled to a window's or a monitor's dpi: one rule for the
// window, its controls and the balloons.

namespace ludrin::ui {

inline constexpr int kDesignDpi = 96;

// Rounds half away from zero, as the platform's MulDiv does.
inline int ScaleToDpi(int length, int dpi) {
    const long long scaled = static_cast<long long>(length) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kDesignDpi / 2) / kDesignDpi
                                        : (scaled - kDesignDpi / 2) / kDesignDpi);
}

} // namespace ludrin::ui
