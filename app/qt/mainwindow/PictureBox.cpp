#include "PictureBox.h"

#include <cmath>
#include <optional>

#include <QKeyEvent>
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

void PictureBox::setSlider(const clsPicSlider* slider, Told told) {
    mSlider = slider;
    mTold = told;
    setFocusPolicy(slider != nullptr ? Qt::StrongFocus : Qt::NoFocus);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    mPainter(painter, QRectF(rect()));
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    std::optional<SliderKey> key;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down: key = SliderKey::LineDown; break;
    case Qt::Key_Right:
    case Qt::Key_Up: key = SliderKey::LineUp; break;
    case Qt::Key_PageDown: key = SliderKey::PageDown; break;
    case Qt::Key_PageUp: key = SliderKey::PageUp; break;
    case Qt::Key_Home: key = SliderKey::Home; break;
    case Qt::Key_End: key = SliderKey::End; break;
    default: break;
    }
    if (!key || mSlider == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    emit keyPressed(*key);
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

void SeekBarPicture::setEnvelope(std::vector<float> levels) {
    mEnvelope = std::move(levels);
    update();
}

int SeekBarPicture::pixelWidth() const { return static_cast<int>(std::lround(width() * devicePixelRatioF())); }

void SeekBarPicture::resizeEvent(QResizeEvent* event) {
    PictureBox::resizeEvent(event);
    emit pixelWidthChanged(pixelWidth());
}

void SeekBarPicture::paintEvent(QPaintEvent* event) {
    PictureBox::paintEvent(event);
    QPainter painter(this);
    if (!mEnvelope.empty()) {
        const double columnWidth = static_cast<double>(width()) / static_cast<double>(mEnvelope.size());
        for (std::size_t column = 0; column < mEnvelope.size(); ++column) {
            if (mEnvelope[column] < 0.0f) continue;  // not measured yet
            const slider_look::EnvelopeLine line = slider_look::envelopeLine(mEnvelope[column]);
            const double lineHeight = height() * line.height;
            painter.fillRect(
                QRectF(static_cast<double>(column) * columnWidth, (height() - lineHeight) / 2, columnWidth, lineHeight),
                art::colour(line.colour));
        }
    }
    if (!std::isfinite(mX1) || !std::isfinite(mX2)) return;
    const double scale = width() / layout::kRepeatLineSpan;
    const double lineWidth = std::max(1.0, height() * slider_look::kRepeatLineShare);
    const double y = height() - lineWidth / 2;
    painter.setPen(QPen(art::colour(slider_look::kRepeatLine), lineWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(mX1 * scale, y), QPointF(mX2 * scale, y));
}

}  // namespace lirabox::qt
