#include "MprisRootAdaptor.h"

#include "player/MprisPlayer.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace lirabox::dbus {

MprisRootAdaptor::MprisRootAdaptor(QObject* parent, MprisPlayer& player)
    : QDBusAbstractAdaptor(parent), mPlayer(player) {}

QString MprisRootAdaptor::identity() const { return QStringLiteral("Lirabox"); }
QString MprisRootAdaptor::desktopEntry() const { return QStringLiteral("lirabox"); }
QStringList MprisRootAdaptor::supportedUriSchemes() const { return {QStringLiteral("file")}; }

QStringList MprisRootAdaptor::supportedMimeTypes() const {
    return {QStringLiteral("audio/wav"),
            QStringLiteral("audio/x-wav"),
            QStringLiteral("audio/mpeg"),
            QStringLiteral("audio/x-ms-wma")};
}

// The windows the player shows (the main window, or the one-line window in its place).
void MprisRootAdaptor::Raise() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || (window->windowFlags() & Qt::Popup) == Qt::Popup) continue;
        if (window->isMinimized()) window->showNormal();
        window->raise();
        window->activateWindow();
    }
}

// After the reply has gone: closing the window ends the program.
void MprisRootAdaptor::Quit() {
    QTimer::singleShot(0, this, [this] { mPlayer.quit(); });
}

}  // namespace lirabox::dbus
