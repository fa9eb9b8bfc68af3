#pragma once
// The arithmetic of putting a stored window rectangle back on the screen.
// Edges are 32-bit signed pixels; a result that does not fit raises the
// overflow error (RaisedError kErrOverflow) instead of wrapping.

#include "WindowServices.h"

#include <cstdint>

namespace lirabox {

std::int32_t checkedAdd(std::int32_t a, std::int32_t b);
std::int32_t checkedSubtract(std::int32_t a, std::int32_t b);

// The show command for the stored state: minimised wins over maximised.
std::int32_t placementShowCommand(bool showMinimized, bool showMaximized);

struct ScreenSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The desktop's size (right, bottom of its client rectangle), or the primary
// screen's when either of those is 0.
ScreenSize placementScreenSize(const PixelRect& desktopClient, const PixelRect& primaryScreen);

struct ScreenFit {
    PixelRect rect;
    bool outside = false;  // the given rectangle reached beyond the screen on some side
};

// Checks right, bottom, left, top in that order, each on the edges the previous
// checks left; an edge on the screen's border passes. A failed check always
// sets `outside`, and moves the rectangle (keeping its size) only when
// safePosition is true. A rectangle larger than the screen ends with its
// left/top edge at 0.
ScreenFit keepOnScreen(PixelRect rect, ScreenSize screen, bool safePosition);

}  // namespace lirabox
