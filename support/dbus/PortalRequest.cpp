#include "PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>

namespace lirabox::dbus {
namespace {

const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kResponse = QStringLiteral("Response");

}  // namespace

PortalRequests::PortalRequests(QDBusConnection bus) : mBus(std::move(bus)) {}

void PortalRequests::call(const QString& interface, const QString& method, const QList<QVariant>& arguments,
                          QVariantMap options, const QString& token, Answered answered, Failed failed) {
    const QString sender = mBus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString path = QLatin1String(kPortalPath) + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    mWaiting.insert(path, {std::move(answered), std::move(failed)});
    mBus.connect(
        QLatin1String(kPortalService), path, kRequestInterface, kResponse, this, SLOT(onResponse(QDBusMessage)));
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage message =
        QDBusMessage::createMethodCall(QLatin1String(kPortalService), QLatin1String(kPortalPath), interface, method);
    message.setArguments(QList<QVariant>(arguments) << options);
    auto* watcher = new QDBusPendingCallWatcher(mBus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        const auto waiting = mWaiting.constFind(path);
        if (!done->isError() || waiting == mWaiting.constEnd()) return;
        const Failed tellFailure = waiting->failed;
        drop(path);
        tellFailure(done->error());
    });
}

void PortalRequests::forgetAll() {
    for (const QString& path : mWaiting.keys()) drop(path);
}

void PortalRequests::onResponse(const QDBusMessage& message) {
    const auto waiting = mWaiting.constFind(message.path());
    if (waiting == mWaiting.constEnd()) return;
    const Answered answered = waiting->answered;
    drop(message.path());
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 2) {
        answered(2, {});
        return;
    }
    answered(arguments[0].toUInt(), qdbus_cast<QVariantMap>(arguments[1]));
}

void PortalRequests::drop(const QString& path) {
    mWaiting.remove(path);
    mBus.disconnect(
        QLatin1String(kPortalService), path, kRequestInterface, kResponse, this, SLOT(onResponse(QDBusMessage)));
}

QString PortalRequests::handle(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) return value.value<QDBusObjectPath>().path();
    return value.toString();
}

bool PortalRequests::isMissing(const QDBusError& error) {
    return error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::UnknownInterface ||
           error.type() == QDBusError::UnknownMethod || error.type() == QDBusError::UnknownObject;
}

}  // namespace lirabox::dbus
