#pragma once
// How the main window's drawn sliders look, the same on every front end: the
// colours and proportions of the seek bar's groove, the volume wedge, the
// arrow, the repeat line and the loudness envelope. Each front end paints them with its own toolkit.

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

// The loudness envelope over the groove: a line per pixel column, centred,
// as tall as its level (0 .. 1) of the bar and shaded from light (pauses) to
// dark (speech). Columns not measured yet show nothing.
inline constexpr Colour kEnvelopeQuiet {196, 204, 216};
inline constexpr Colour kEnvelopeLoud {40, 48, 60};
struct EnvelopeLine {
    double height;  // share of the bar's height
    Colour colour;
};
constexpr EnvelopeLine envelopeLine(float level) {
    const double share = level < 0.0f ? 0.0 : level > 1.0f ? 1.0 : level;
    const auto mix = [share](std::uint8_t quiet, std::uint8_t loud) {
        return static_cast<std::uint8_t>(quiet + (loud - quiet) * share + 0.5);
    };
    return {0.15 + 0.8 * share,
            {mix(kEnvelopeQuiet.red, kEnvelopeLoud.red),
             mix(kEnvelopeQuiet.green, kEnvelopeLoud.green),
             mix(kEnvelopeQuiet.blue, kEnvelopeLoud.blue)}};
}

}  // namespace lirabox::slider_look
