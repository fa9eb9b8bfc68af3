#include "Twips.h"

#include <cmath>

namespace lirabox {

int twipsToPixels(double twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch)); }

double pixelsToTwips(double pixels, double dpi) { return pixels * kTwipsPerInch / dpi; }

PixelBox toPixelBox(const TwipsRect& rect, double dpi) {
    // Edges are converted, not sizes, so neighbours that touch in twips touch in pixels.
    const int left = twipsToPixels(rect.left, dpi);
    const int top = twipsToPixels(rect.top, dpi);
    const int right = twipsToPixels(rect.left + rect.width, dpi);
    const int bottom = twipsToPixels(rect.top + rect.height, dpi);
    return {left, top, right - left, bottom - top};
}

}  // namespace lirabox
