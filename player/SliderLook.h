#pragma once
// How the main window's drawn sliders look, the same on every front end: the
// colours and proportions of the seek bar's groove, the volume wedge, the
// arrow and the repeat line. Each front end paints them with its own toolkit.

#include <cstdint>

namespace lirabox::slider_look {

struct Colour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

inline constexpr Colour kGrooveDark {64, 72, 84};      // groove edge and top; the wedge's outline
inline constexpr Colour kGrooveLight {168, 178, 192};  // groove bottom; the wedge's quiet end
inline constexpr Colour kAccent {38, 110, 196};        // the wedge's loud end; the arrow
inline constexpr Colour kArrowEdge {20, 40, 70};
inline constexpr Colour kRepeatLine {214, 64, 48};

// The seek bar's groove: this share of the bar's height, never thinner than kGrooveMinHeight pixels.
inline constexpr double kGrooveHeightShare = 0.5;
inline constexpr int kGrooveMinHeight = 3;
// The repeat line along the seek bar's bottom edge: this share of the bar's height, at least one pixel.
inline constexpr double kRepeatLineShare = 0.18;

}  // namespace lirabox::slider_look
