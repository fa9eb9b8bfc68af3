#include "PortalShortcuts.h"

#include "support/UiText.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <chrono>
#include <map>

namespace {

// One entry of the portal's a(sa{sv}) shortcut lists.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
using PortalShortcutList = QList<PortalShortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

}  // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace lirabox::hotkeys {
namespace {

constexpr UiText kNoBus = LIRABOX_TEXT("main", "there is no session bus to reach the desktop's shortcut portal on");
constexpr UiText kNoPortal = LIRABOX_TEXT("main", "the desktop offers no shortcut portal");
constexpr UiText kRefused = LIRABOX_TEXT("main", "the desktop did not bind the shortcuts");

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// A handle the portal gives back, which one version sends as a string and another as an object path.
QString handleIn(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) return value.value<QDBusObjectPath>().path();
    return value.toString();
}

QVariant shortcutList(const std::vector<ShortcutPortal::Shortcut>& shortcuts) {
    PortalShortcutList list;
    for (const auto& shortcut : shortcuts) {
        QVariantMap properties{{QStringLiteral("description"), QString::fromStdString(shortcut.description)}};
        if (!shortcut.preferredTrigger.empty()) {
            properties.insert(QStringLiteral("preferred_trigger"), QString::fromStdString(shortcut.preferredTrigger));
        }
        list.append({QString::fromStdString(shortcut.id), properties});
    }
    return QVariant::fromValue(list);
}

}  // namespace

PortalShortcuts::PortalShortcuts(QDBusConnection bus) : mBus(std::move(bus)) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcutList>();
    mRepeat.setSingleShot(true);
    connect(&mRepeat, &QTimer::timeout, this, [this] {
        if (mKeys == nullptr) return;
        mKeys->tick(PortalKeys::Clock::now());
        scheduleRepeat();
    });
    if (!mBus.isConnected()) return;
    mBus.connect(kPortalService, kPortalPath, kShortcutsInterface, QStringLiteral("Activated"), this,
                 SLOT(onActivated(QDBusMessage)));
    mBus.connect(kPortalService, kPortalPath, kShortcutsInterface, QStringLiteral("Deactivated"), this,
                 SLOT(onDeactivated(QDBusMessage)));
}

PortalShortcuts::~PortalShortcuts() { closeSession(mSession); }

void PortalShortcuts::bind(const std::vector<Shortcut>& shortcuts) {
    mWanted = shortcuts;
    mBindWanted = true;
    if (mSendScheduled) return;
    mSendScheduled = true;
    QTimer::singleShot(0, this, [this] { sendWanted(); });
}

void PortalShortcuts::unbind() {
    mBindWanted = false;
    ++mGeneration;
    mRepeat.stop();
    closeSession(mSession);
    mSession.clear();
}

void PortalShortcuts::sendWanted() {
    mSendScheduled = false;
    if (!mBindWanted) return;
    unbind();
    mBindWanted = true;
    if (!mBus.isConnected()) {
        fail(shown(kNoBus));
        return;
    }
    const QString token = QStringLiteral("lirabox%1").arg(mGeneration);
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("session_handle_token"), token},
                              {QStringLiteral("shortcuts"), shortcutList(mWanted)}};
    request(Step::CreateSession, QStringLiteral("CreateSession"), {options}, token);
}

void PortalShortcuts::request(Step step, const QString& method, const QList<QVariant>& arguments,
                              const QString& token) {
    const QString sender = mBus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString path = kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    mRequests.insert(path, {step, mGeneration});
    mBus.connect(kPortalService, path, kRequestInterface, QStringLiteral("Response"), this,
                 SLOT(onResponse(QDBusMessage)));
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kShortcutsInterface, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(mBus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path, generation = mGeneration](auto* done) {
        done->deleteLater();
        if (!done->isError() || generation != mGeneration) return;
        mRequests.remove(path);
        mBus.disconnect(kPortalService, path, kRequestInterface, QStringLiteral("Response"), this,
                        SLOT(onResponse(QDBusMessage)));
        const QDBusError error = done->error();
        const bool missing = error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::UnknownInterface ||
                             error.type() == QDBusError::UnknownMethod || error.type() == QDBusError::UnknownObject;
        fail(missing ? shown(kNoPortal) : shown(kRefused) + ": " + error.message().toStdString());
    });
}

void PortalShortcuts::onResponse(const QDBusMessage& message) {
    const auto found = mRequests.constFind(message.path());
    if (found == mRequests.constEnd()) return;
    const Request answered = *found;
    mRequests.erase(found);
    mBus.disconnect(kPortalService, message.path(), kRequestInterface, QStringLiteral("Response"), this,
                    SLOT(onResponse(QDBusMessage)));
    const QList<QVariant> arguments = message.arguments();
    const bool granted = arguments.size() == 2 && arguments[0].toUInt() == 0;
    const QVariantMap results = arguments.size() == 2 ? qdbus_cast<QVariantMap>(arguments[1]) : QVariantMap();
    if (answered.generation != mGeneration) {
        // An answer for shortcuts wanted no longer: its session goes at once.
        if (answered.step == Step::CreateSession) closeSession(handleIn(results.value(QStringLiteral("session_handle"))));
        return;
    }
    if (!granted) {
        fail(shown(kRefused));
        return;
    }
    if (answered.step == Step::CreateSession) {
        sessionCreated(results);
    } else {
        shortcutsBound(results);
    }
}

void PortalShortcuts::sessionCreated(const QVariantMap& results) {
    mSession = handleIn(results.value(QStringLiteral("session_handle")));
    const QString token = QStringLiteral("lirabox%1bind").arg(mGeneration);
    request(Step::BindShortcuts, QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(mSession)), shortcutList(mWanted), QString(),
             QVariantMap{{QStringLiteral("handle_token"), token}}},
            token);
}

void PortalShortcuts::shortcutsBound(const QVariantMap& results) {
    std::map<std::string, std::string> triggers;
    const QVariant list = results.value(QStringLiteral("shortcuts"));
    if (list.canConvert<QDBusArgument>()) {
        for (const PortalShortcut& shortcut : qdbus_cast<PortalShortcutList>(list.value<QDBusArgument>())) {
            triggers[shortcut.id.toStdString()] =
                shortcut.properties.value(QStringLiteral("trigger_description")).toString().toStdString();
        }
    }
    if (mKeys != nullptr) mKeys->bound(triggers);
}

void PortalShortcuts::fail(const std::string& reason) {
    if (mKeys != nullptr) mKeys->unavailable(reason);
}

void PortalShortcuts::closeSession(const QString& session) {
    if (session.isEmpty() || !mBus.isConnected()) return;
    mBus.asyncCall(QDBusMessage::createMethodCall(kPortalService, session, kSessionInterface, QStringLiteral("Close")));
}

void PortalShortcuts::onActivated(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (mKeys == nullptr || mSession.isEmpty() || arguments.size() < 2 || handleIn(arguments[0]) != mSession) return;
    mKeys->activated(arguments[1].toString().toStdString(), PortalKeys::Clock::now());
    scheduleRepeat();
}

void PortalShortcuts::onDeactivated(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (mKeys == nullptr || mSession.isEmpty() || arguments.size() < 2 || handleIn(arguments[0]) != mSession) return;
    mKeys->deactivated(arguments[1].toString().toStdString());
    scheduleRepeat();
}

void PortalShortcuts::scheduleRepeat() {
    const auto next = mKeys->nextStep();
    if (!next) {
        mRepeat.stop();
        return;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(*next - PortalKeys::Clock::now());
    mRepeat.start(std::max(wait, std::chrono::milliseconds(0)));
}

}  // namespace lirabox::hotkeys
