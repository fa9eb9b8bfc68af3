#include "KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "keytap/VirtualKeys.h"

namespace lirabox::qt {
namespace {

constexpr std::int32_t kShiftBit = 1, kCtrlBit = 2, kAltBit = 4;

}  // namespace

KeyPreview::KeyPreview(QWidget& window, Handler handler)
    : QObject(&window), mWindow(window), mHandler(std::move(handler)) {
    qApp->installEventFilter(this);
}

std::int32_t KeyPreview::keyCodeOf(const QKeyEvent& event) {
    return keytap::virtualKeyForQtKey(event.key() | static_cast<int>(event.modifiers() & Qt::KeypadModifier));
}

std::int32_t KeyPreview::shiftOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return (modifiers & Qt::ShiftModifier ? kShiftBit : 0) | (modifiers & Qt::ControlModifier ? kCtrlBit : 0) |
           (modifiers & Qt::AltModifier ? kAltBit : 0);
}

// Qt hands an unused key on to the parents, and this filter sees it once for
// each; the handler is told only on the first, the widget that has the focus.
bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    QWidget* first = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &mWindow;
    if (widget != first || widget->window() != &mWindow) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    return mHandler(keyCodeOf(*key), shiftOf(*key));
}

}  // namespace lirabox::qt
