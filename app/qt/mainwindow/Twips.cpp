#include "Twips.h"

namespace lirabox::qt {

QRect toPixels(const TwipsRect& rect, double dpi) {
    const PixelBox box = toPixelBox(rect, dpi);
    return QRect(box.left, box.top, box.width, box.height);
}

}  // namespace lirabox::qt
