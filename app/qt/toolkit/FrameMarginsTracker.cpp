#include "FrameMarginsTracker.h"

#include "FrameExtentsEstimate.h"

#include <QEvent>
#include <QWidget>

namespace lirabox {

QMargins currentFrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(),
            client.top() - frame.top(),
            frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

namespace {

bool inNormalState(const QWidget& window) {
    return window.isVisible() &&
           !(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

}  // namespace

FrameMarginsTracker& FrameMarginsTracker::of(QWidget& window) {
    auto* tracker = window.findChild<FrameMarginsTracker*>(QString(), Qt::FindDirectChildrenOnly);
    if (tracker == nullptr) tracker = new FrameMarginsTracker(window);
    return *tracker;
}

FrameMarginsTracker::FrameMarginsTracker(QWidget& window) : QObject(&window), mWindow(window) {
    window.installEventFilter(this);
    takeMarginsIfNormal();
}

QMargins FrameMarginsTracker::normalMargins() {
    takeMarginsIfNormal();
    if (mSeenNormal) return mNormalMargins;
    if (!mWindow.isVisible() && mWindow.internalWinId() != 0) {
        if (!mEstimateAsked) {
            mEstimate = estimatedFrameExtents(mWindow.internalWinId());
            mEstimateAsked = true;
        }
        if (mEstimate) return *mEstimate;
    }
    return currentFrameMargins(mWindow);
}

bool FrameMarginsTracker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &mWindow) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::WindowStateChange: takeMarginsIfNormal(); break;
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void FrameMarginsTracker::takeMarginsIfNormal() {
    if (!inNormalState(mWindow)) return;
    const QMargins margins = currentFrameMargins(mWindow);
    // A window just mapped has no decoration yet; keep what is known already.
    if (margins.isNull() && (mSeenNormal || mEstimate)) return;
    mNormalMargins = margins;
    mSeenNormal = true;
}

}  // namespace lirabox
