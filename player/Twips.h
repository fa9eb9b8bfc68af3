#pragma once
// The window is laid out in twips (1/1440 inch): 15 twips to the pixel on a
// 96-dpi screen, fewer on a denser one, so the window keeps its size in inches.

namespace lirabox {

inline constexpr double kTwipsPerInch = 1440.0;

int twipsToPixels(double twips, double dpi);
double pixelsToTwips(double pixels, double dpi);

// A rectangle given as left, top, width and height in twips.
struct TwipsRect {
    double left;
    double top;
    double width;
    double height;
};

// The same rectangle in pixels.
struct PixelBox {
    int left;
    int top;
    int width;
    int height;
};

PixelBox toPixelBox(const TwipsRect& rect, double dpi);

}  // namespace lirabox
