#include "MprisService.h"

#include "MprisPlayerAdaptor.h"
#include "MprisPropertiesAdaptor.h"
#include "MprisRootAdaptor.h"
#include "player/MprisPlayer.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLoggingCategory>

namespace lirabox::dbus {
namespace {

// Silent unless asked for: QT_LOGGING_RULES="lirabox.mpris.info=true".
Q_LOGGING_CATEGORY(lcMpris, "lirabox.mpris", QtWarningMsg)

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.lirabox");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

}  // namespace

MprisService::MprisService(frmMain& player, media::MediaEngine& engine)
    : mPlayer(std::make_unique<MprisPlayer>(player, engine)) {
    new MprisRootAdaptor(this, *mPlayer);
    mPlayerAdaptor = new MprisPlayerAdaptor(this, *mPlayer);
    new MprisPropertiesAdaptor(this);
    mPlayer->onChanged([this](const std::vector<std::string>& properties) { sendPropertiesChanged(properties); });
    mPlayer->onSeeked([this](std::int64_t position) { emit mPlayerAdaptor->Seeked(position); });
    publish();
}

MprisService::~MprisService() = default;

void MprisService::publish() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcMpris) << "no session bus, so no media-player interface:" << bus.lastError().message();
        return;
    }
    bus.registerObject(kObjectPath, this);
    // A second copy of the program (another user's display, another build)
    // takes the per-process name the interface provides for that.
    if (!bus.registerService(kServiceName)) {
        bus.registerService(kServiceName + QStringLiteral(".instance") +
                            QString::number(QCoreApplication::applicationPid()));
    }
}

void MprisService::sendPropertiesChanged(const std::vector<std::string>& properties) {
    QVariantMap changed;
    for (const std::string& name : properties) {
        changed.insert(QString::fromStdString(name), mPlayerAdaptor->property(name.c_str()));
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

}  // namespace lirabox::dbus
