#pragma once
// A window's own key handling ahead of its controls: every key pressed while
// any widget of the window has the focus reaches the handler first, and a key
// the handler takes goes no further.

#include <cstdint>
#include <functional>

#include <QObject>

class QKeyEvent;
class QWidget;

namespace lirabox::qt {

class KeyPreview : public QObject {
    Q_OBJECT
public:
    // keyCode is a virtual-key code, shift the modifier code (Shift 1, Ctrl 2,
    // Alt 4); true when the key was taken.
    using Handler = std::function<bool(std::int32_t keyCode, std::int32_t shift)>;

    // Watches the application's key events for `window` while it lives.
    KeyPreview(QWidget& window, Handler handler);

    static std::int32_t keyCodeOf(const QKeyEvent& event);
    static std::int32_t shiftOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& mWindow;
    Handler mHandler;
};

}  // namespace lirabox::qt
