#include "SliderArt.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace lirabox::qt::art {
namespace {

const QColor kGrooveDark = colour(slider_look::kGrooveDark);
const QColor kGrooveLight = colour(slider_look::kGrooveLight);
const QColor kAccent = colour(slider_look::kAccent);

}  // namespace

void paintSeekTrack(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A sunken groove across the middle of the bar.
    const double grooveHeight =
        std::max(double(slider_look::kGrooveMinHeight), area.height() * slider_look::kGrooveHeightShare);
    const QRectF groove(area.left() + 1, area.center().y() - grooveHeight / 2, area.width() - 2, grooveHeight);
    QLinearGradient shade(groove.topLeft(), groove.bottomLeft());
    shade.setColorAt(0, kGrooveDark);
    shade.setColorAt(1, kGrooveLight);
    painter.setPen(QPen(kGrooveDark, 0.8));
    painter.setBrush(shade);
    painter.drawRoundedRect(groove, grooveHeight / 2, grooveHeight / 2);
    painter.restore();
}

void paintVolumeTrack(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A wedge growing to the right: louder towards the right end.
    QPolygonF wedge;
    wedge << QPointF(area.left() + 1, area.bottom() - 2) << QPointF(area.right() - 1, area.top() + 2)
          << QPointF(area.right() - 1, area.bottom() - 2);
    QLinearGradient fill(area.topLeft(), area.topRight());
    fill.setColorAt(0, kGrooveLight);
    fill.setColorAt(1, kAccent);
    painter.setPen(QPen(kGrooveDark, 0.8));
    painter.setBrush(fill);
    painter.drawPolygon(wedge);
    painter.restore();
}

void paintArrow(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A downward-pointing marker.
    QPolygonF marker;
    marker << QPointF(area.left() + 0.5, area.top() + 0.5) << QPointF(area.right() - 0.5, area.top() + 0.5)
           << QPointF(area.center().x(), area.bottom() - 0.5);
    painter.setPen(QPen(colour(slider_look::kArrowEdge), 0.8));
    painter.setBrush(kAccent);
    painter.drawPolygon(marker);
    painter.restore();
}

QPixmap render(void (*paint)(QPainter&, const QRectF&), QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return picture;
}

}  // namespace lirabox::qt::art
