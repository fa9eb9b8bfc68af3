#include "QtWindowServices.h"

#include "FrameMarginsTracker.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <limits>

namespace lirabox {
namespace {

QWidget* topLevelWidget(WindowHandle window) {
    QWidget* widget = QWidget::find(static_cast<WId>(window));
    return widget != nullptr && widget->isWindow() ? widget : nullptr;
}

PixelRect toPixelRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

// The far edges of an area, as a rectangle from the origin.
PixelRect farEdges(const QRect& area) { return {0, 0, area.x() + area.width(), area.y() + area.height()}; }

// X positions are 16-bit on the wire; larger ones would wrap around.
int toWindowCoordinate(std::int32_t value) {
    return std::clamp<std::int32_t>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
}

int toWindowExtent(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, 1, QWIDGETSIZE_MAX)); }

// A minimised or maximised window is withdrawn and set back to normal, so it
// is placed afresh like a window not shown yet; the window manager would
// otherwise put it back where it remembers it.
void leaveMinimizedOrMaximized(QWidget& widget) {
    const Qt::WindowStates state = widget.windowState();
    const Qt::WindowStates normal = state & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (state == normal) return;
    widget.hide();
    widget.setWindowState(normal);
}

void showWith(QWidget& widget, std::int32_t showCmd) {
    switch (showCmd) {
    case kShowMinimized: widget.showMinimized(); break;
    case kShowMaximized: widget.showMaximized(); break;
    default: widget.showNormal(); break;
    }
}

}  // namespace

bool QtWindowServices::GetWindowPlacement(WindowHandle window, WindowPlacement& placement) {
    QWidget* widget = topLevelWidget(window);
    if (widget == nullptr) return false;
    placement = WindowPlacement {};
    placement.showCmd = widget->isMinimized() ? kShowMinimized : widget->isMaximized() ? kShowMaximized : kShowNormal;
    const QRect normalFrame = widget->normalGeometry().marginsAdded(FrameMarginsTracker::of(*widget).normalMargins());
    placement.normalPosition = toPixelRect(normalFrame);
    return true;
}

bool QtWindowServices::SetWindowPlacement(WindowHandle window, const WindowPlacement& placement) {
    QWidget* widget = topLevelWidget(window);
    if (widget == nullptr) return false;
    FrameMarginsTracker& tracker = FrameMarginsTracker::of(*widget);
    leaveMinimizedOrMaximized(*widget);

    const PixelRect& rect = placement.normalPosition;
    const QMargins margins = tracker.normalMargins();
    const QPoint frameTopLeft(toWindowCoordinate(rect.left), toWindowCoordinate(rect.top));
    const QSize clientSize(toWindowExtent(std::int64_t {rect.right} - rect.left - margins.left() - margins.right()),
                           toWindowExtent(std::int64_t {rect.bottom} - rect.top - margins.top() - margins.bottom()));
    if (widget->isVisible()) {
        widget->resize(clientSize);
        widget->move(frameTopLeft);  // the frame's corner, the decoration being known
    } else {
        // Not mapped, so not decorated: ask the window manager to put the
        // frame's corner (not the client's) at the position. Widget and native
        // window must agree on the geometry, or showing the widget would set it
        // again and drop that request.
        widget->setGeometry(QRect(frameTopLeft, clientSize));
        QWindow* native = widget->windowHandle();
        native->resize(clientSize);
        native->setFramePosition(frameTopLeft);
    }
    showWith(*widget, placement.showCmd);
    return true;
}

bool QtWindowServices::IsIconic(WindowHandle window) {
    const QWidget* widget = topLevelWidget(window);
    return widget != nullptr && widget->isMinimized();
}

bool QtWindowServices::IsZoomed(WindowHandle window) {
    const QWidget* widget = topLevelWidget(window);
    return widget != nullptr && widget->isMaximized();
}

bool QtWindowServices::GetWindowRect(WindowHandle window, PixelRect& rect) {
    QWidget* widget = topLevelWidget(window);
    if (widget == nullptr) return false;
    // A hidden window's frame is the one it will have when shown.
    const QRect frame = widget->isVisible()
                            ? widget->frameGeometry()
                            : widget->geometry().marginsAdded(FrameMarginsTracker::of(*widget).normalMargins());
    rect = toPixelRect(frame);
    return true;
}

PixelRect QtWindowServices::DesktopClientRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? farEdges(screen->availableGeometry()) : PixelRect {};
}

PixelRect QtWindowServices::PrimaryScreenRect() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? farEdges(screen->geometry()) : PixelRect {};
}

}  // namespace lirabox
