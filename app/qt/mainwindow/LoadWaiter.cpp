#include "LoadWaiter.h"

#include <QApplication>
#include <QCursor>

#include "MainWindow.h"
#include "player/media/MediaEngine.h"

namespace lirabox::qt {

void installLoadWaiter(media::MediaEngine& engine, MainWindow& window) {
    engine.setLoadWaiter([&window](const std::function<bool()>& waitBriefly) {
        if (waitBriefly()) return;  // the usual case: no cursor flicker
        QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        window.holdClosing(true);
        while (!waitBriefly()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        window.holdClosing(false);
        QApplication::restoreOverrideCursor();
    });
}

}  // namespace lirabox::qt
