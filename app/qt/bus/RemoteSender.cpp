#include "RemoteSender.h"

#include "RemoteService.h"
#include "player/RemoteCommand.h"
#include "support/UiText.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QFile>
#include <QVariantList>

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <variant>

namespace lirabox::dbus {
namespace {

constexpr UiText kNoCopy = LIRABOX_TEXT("main", "no running Lirabox took the command; start Lirabox first");
constexpr UiText kNoBus = LIRABOX_TEXT("main", "the session bus cannot be reached");
// Long enough for a copy that is busy starting; a command normally takes a few milliseconds.
constexpr int kReplyTimeoutMs = 5000;

int fail(int status, const std::string& line) {
    std::fprintf(stderr, "lirabox: %s\n", line.c_str());
    return status;
}

// No copy: the bus answers at once that nobody owns the name (no service
// file starts one).
QDBusMessage callRunningCopy(QDBusConnection& bus, const char* method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kRemoteService),
                                                       QString::fromLatin1(kRemotePath),
                                                       QString::fromLatin1(kRemoteInterface),
                                                       QString::fromLatin1(method));
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, kReplyTimeoutMs);
}

}  // namespace

bool BusRunningCopy::handOver(const std::string& path, std::int32_t start) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    return callRunningCopy(bus, "HandOver", {QFile::decodeName(path.c_str()), start}).type() !=
           QDBusMessage::ErrorMessage;
}

int sendRemoteCommand(const std::vector<std::string>& words) {
    std::error_code error;
    const auto parsed = parseRemoteCommand(words, std::filesystem::current_path(error));
    if (const auto* reason = std::get_if<std::string>(&parsed)) return fail(2, *reason);
    const auto& command = std::get<RemoteCommand>(parsed);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return fail(1, shown(kNoBus) + " (" + bus.lastError().message().toStdString() + ")");
    const QDBusMessage reply =
        callRunningCopy(bus, "Run", {QString::fromStdString(command.name), QString::fromStdString(command.argument)});
    if (reply.type() != QDBusMessage::ErrorMessage) return 0;
    if (reply.errorName() == QDBusError::errorString(QDBusError::InvalidArgs)) {
        return fail(2, reply.errorMessage().toStdString());
    }
    if (reply.errorName() == QDBusError::errorString(QDBusError::ServiceUnknown)) return fail(1, shown(kNoCopy));
    return fail(1, shown(kNoCopy) + " (" + reply.errorMessage().toStdString() + ")");
}

}  // namespace lirabox::dbus
