#include "PictureBox.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "SliderArt.h"
#include "player/FormLayout.h"

namespace lirabox::qt {

PictureBox::PictureBox(const TwipsRect& place, Painter painter, QWidget* parent)
    : QWidget(parent), mPlace(place), mPainter(painter) {
    applyDpi(mDpi);
}

void PictureBox::applyDpi(double dpi) {
    mDpi = dpi;
    setGeometry(toPixels(mPlace, mDpi));
}

void PictureBox::setLeft(double twips) {
    mPlace.left = twips;
    move(twipsToPixels(mPlace.left, mDpi), y());
}

void PictureBox::Refresh() { update(); }

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    mPainter(painter, QRectF(rect()));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit mouseDown(pixelsToTwips(event->position().x(), mDpi));
}

// Without mouse tracking Qt sends moves only while a button is held, and keeps
// sending them to this box when the pointer leaves it (an implicit grab).
void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMove(pixelsToTwips(event->position().x(), mDpi));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    emit mouseUp();
}

SeekBarPicture::SeekBarPicture(const TwipsRect& place, Painter painter, QWidget* parent)
    : PictureBox(place, painter, parent), mX1(0), mX2(layout::kRepeatLineSpan) {}

void SeekBarPicture::setRepeatX1(double twips) {
    mX1 = twips;
    update();
}

void SeekBarPicture::setRepeatX2(double twips) {
    mX2 = twips;
    update();
}

void SeekBarPicture::paintEvent(QPaintEvent* event) {
    PictureBox::paintEvent(event);
    if (!std::isfinite(mX1) || !std::isfinite(mX2)) return;
    QPainter painter(this);
    const double scale = width() / layout::kRepeatLineSpan;
    const double lineWidth = std::max(1.0, height() * slider_look::kRepeatLineShare);
    const double y = height() - lineWidth / 2;
    painter.setPen(QPen(art::colour(slider_look::kRepeatLine), lineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(mX1 * scale, y), QPointF(mX2 * scale, y));
}

}  // namespace lirabox::qt
