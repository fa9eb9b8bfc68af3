#pragma once
// The player's own pictures, drawn in code so they stay sharp at any size:
// the seek bar's track (designed at 478 x 10 pixels), the volume track
// (122 x 15) and the slider arrow (8 x 8).

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QSize>

#include "player/SliderLook.h"

class QPainter;

namespace lirabox::qt::art {

inline constexpr QSize kSeekTrackSize {478, 10};
inline constexpr QSize kVolumeTrackSize {122, 15};
inline constexpr QSize kArrowSize {8, 8};

inline QColor colour(slider_look::Colour colour) { return {colour.red, colour.green, colour.blue}; }

void paintSeekTrack(QPainter& painter, const QRectF& area);
void paintVolumeTrack(QPainter& painter, const QRectF& area);
void paintArrow(QPainter& painter, const QRectF& area);

// A painter function drawn at its design size.
QPixmap render(void (*paint)(QPainter&, const QRectF&), QSize size);

}  // namespace lirabox::qt::art
