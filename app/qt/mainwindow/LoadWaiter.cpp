#include "LoadWaiter.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QPointer>
#include <QShortcutEvent>

#include <memory>
#include <utility>
#include <vector>

#include "MainWindow.h"
#include "player/media/MediaEngine.h"

namespace lirabox::qt {
namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove: return true;
    default: return false;
    }
}

// While a file opens, no command may start in the middle of the load: user
// input is held back and handed on, in its order, once the load is over;
// the quit key closes the window instead (which gives the load up).
class InputDuringLoad final : public QObject {
public:
    explicit InputDuringLoad(MainWindow& window) : mWindow(window) { qApp->installEventFilter(this); }
    ~InputDuringLoad() override {
        qApp->removeEventFilter(this);
        for (auto& [receiver, event] : mHeld) {
            if (receiver) QCoreApplication::postEvent(receiver, event.release());
        }
    }
    InputDuringLoad(const InputDuringLoad&) = delete;
    InputDuringLoad& operator=(const InputDuringLoad&) = delete;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!isUserInput(event->type())) return false;
        if (isQuitKey(event)) {
            mWindow.close();
        } else if (event->type() != QEvent::MouseMove) {  // a move is only a hover
            mHeld.emplace_back(receiver, event->clone());
        }
        return true;
    }

private:
    // The key comes as a shortcut (the menu item's) or, without one, as a key press.
    static bool isQuitKey(QEvent* event) {
        const QKeyCombination quit(Qt::CTRL, Qt::Key_Q);
        switch (event->type()) {
        case QEvent::Shortcut: return static_cast<QShortcutEvent*>(event)->key() == QKeySequence(quit);
        case QEvent::KeyPress: return static_cast<QKeyEvent*>(event)->keyCombination() == quit;
        default: return false;
        }
    }

    MainWindow& mWindow;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> mHeld;
};

}  // namespace

void installLoadWaiter(media::MediaEngine& engine, MainWindow& window) {
    engine.setLoadWaiter([&window](const std::function<bool()>& waitBriefly) {
        if (waitBriefly()) return;  // the usual case: no cursor flicker
        window.showHeldWindow();
        QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        window.holdClosing(true);
        {
            const InputDuringLoad input(window);
            while (!window.closeRequested() && !waitBriefly()) QCoreApplication::processEvents();
        }
        window.holdClosing(false);
        QApplication::restoreOverrideCursor();
    });
}

}  // namespace lirabox::qt
