#pragma once
// Remembers the decoration a window manager gives a window in its normal
// state, so the normal frame can be worked out while the window is maximised
// (when the decoration is a different one or none at all) or hidden. Before
// the window was ever shown, the window manager's estimate stands in.

#include <QMargins>
#include <QObject>

#include <optional>

class QWidget;

namespace lirabox {

class FrameMarginsTracker final : public QObject {
    Q_OBJECT

public:
    // The tracker of a top-level widget, created on first use as its child.
    static FrameMarginsTracker& of(QWidget& window);

    // The frame's margins in the normal state: the present ones when the window
    // is in that state, else the last seen, else (never shown) the window
    // manager's estimate, else the present ones.
    QMargins normalMargins();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FrameMarginsTracker(QWidget& window);
    void takeMarginsIfNormal();

    QWidget& mWindow;
    QMargins mNormalMargins;
    bool mSeenNormal = false;
    std::optional<QMargins> mEstimate;
    bool mEstimateAsked = false;
};

// The frame's present margins around the widget's geometry.
QMargins currentFrameMargins(const QWidget& window);

}  // namespace lirabox
