#pragma once
// Twips rectangles as Qt rectangles.

#include <QRect>

#include "player/Twips.h"

namespace lirabox::qt {

QRect toPixels(const TwipsRect& rect, double dpi);

}  // namespace lirabox::qt
