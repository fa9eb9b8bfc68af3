#include "RemoteService.h"

#include "player/RemoteCommand.h"
#include "player/frmMain.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <variant>

namespace lirabox::dbus {

RemoteService::RemoteService(frmMain& player) : mPlayer(player) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerService(QString::fromLatin1(kRemoteService))) return;
    bus.registerObject(QString::fromLatin1(kRemotePath), this, QDBusConnection::ExportAllSlots);
}

RemoteService::~RemoteService() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromLatin1(kRemotePath));
    bus.unregisterService(QString::fromLatin1(kRemoteService));
}

void RemoteService::Run(const QString& name, const QString& argument) {
    std::vector<std::string> words {name.toStdString()};
    if (!argument.isEmpty()) words.push_back(argument.toStdString());
    const auto parsed = parseRemoteCommand(words, {});
    if (const auto* reason = std::get_if<std::string>(&parsed)) {
        sendErrorReply(QDBusError::InvalidArgs, QString::fromStdString(*reason));
        return;
    }
    QTimer::singleShot(
        0, this, [this, command = std::get<RemoteCommand>(parsed)] { runRemoteCommand(mPlayer, command); });
}

void RemoteService::HandOver(const QString& path, int start) {
    if (!QDir::isAbsolutePath(path) || path.contains(QChar(u'\0'))) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("not a full path: ") + path);
        return;
    }
    QTimer::singleShot(
        0, this, [this, file = QFile::encodeName(path).toStdString(), start] { mPlayer.openHandedOver(file, start); });
}

}  // namespace lirabox::dbus
