#include "BusRunningCopy.h"

#include "player/RemoteCommand.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>

namespace lirabox::dbus {
namespace {

// Long enough for a copy that is busy starting; a hand-over normally takes a few milliseconds.
constexpr int kReplyTimeoutMs = 5000;

}  // namespace

// No copy: the bus answers at once that nobody owns the name (no service file
// starts one).
bool BusRunningCopy::handOver(const std::string& path, std::int32_t start) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kRemoteService),
                                                       QString::fromLatin1(kRemotePath),
                                                       QString::fromLatin1(kRemoteInterface),
                                                       QStringLiteral("HandOver"));
    call << QFile::decodeName(path.c_str()) << start;
    return bus.call(call, QDBus::Block, kReplyTimeoutMs).type() != QDBusMessage::ErrorMessage;
}

}  // namespace lirabox::dbus
