#include "OpeningPlace.h"

#include "FrameMarginsTracker.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace lirabox {

void giveOpeningPlace(QWidget& window) {
    window.winId();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QMargins margins = FrameMarginsTracker::of(window).normalMargins();
    const QRect area = screen->availableGeometry();
    QRect frame(QPoint(), window.size().grownBy(margins));
    frame.moveCenter(area.center());
    frame.moveTopLeft(QPoint(std::max(frame.left(), area.left()), std::max(frame.top(), area.top())));
    window.setGeometry(QRect(frame.topLeft() + QPoint(margins.left(), margins.top()), window.size()));
}

}  // namespace lirabox
