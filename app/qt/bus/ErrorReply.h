#pragma once
// Answers a call from the bus with a D-Bus error instead of its normal reply
// (the slot's return value is then not sent). UI thread.

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QString>

namespace lirabox::dbus {

inline void replyWithError(const QDBusMessage& call, QDBusError::ErrorType type, const QString& text) {
    call.setDelayedReply(true);
    QDBusConnection::sessionBus().send(call.createErrorReply(type, text));
}

}  // namespace lirabox::dbus
