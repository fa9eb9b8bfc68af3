#include "PortalShortcuts.h"

#include "support/UiText.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>

#include <algorithm>
#include <chrono>
#include <map>
#include <string_view>

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

const QString kShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

QVariant shortcutList(const std::vector<ShortcutPortal::Shortcut>& shortcuts) {
    PortalShortcutList list;
    for (const auto& shortcut : shortcuts) {
        QVariantMap properties {{QStringLiteral("description"), QString::fromStdString(shortcut.description)}};
        if (!shortcut.preferredTrigger.empty()) {
            properties.insert(QStringLiteral("preferred_trigger"), QString::fromStdString(shortcut.preferredTrigger));
        }
        list.append({QString::fromStdString(shortcut.id), properties});
    }
    return QVariant::fromValue(list);
}

}  // namespace

PortalShortcuts::PortalShortcuts(QDBusConnection bus) : mRequests(std::move(bus)) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcutList>();
    mRepeat.setSingleShot(true);
    connect(&mRepeat, &QTimer::timeout, this, [this] {
        if (mKeys == nullptr) return;
        mKeys->tick(PortalKeys::Clock::now());
        scheduleRepeat();
    });
    QDBusConnection connection = mRequests.bus();
    if (!connection.isConnected()) return;
    for (const char* signal : {"Activated", "Deactivated"}) {
        connection.connect(QLatin1String(dbus::kPortalService),
                           QLatin1String(dbus::kPortalPath),
                           kShortcutsInterface,
                           QLatin1String(signal),
                           this,
                           signal == std::string_view("Activated") ? SLOT(onActivated(QDBusMessage))
                                                                   : SLOT(onDeactivated(QDBusMessage)));
    }
}

PortalShortcuts::~PortalShortcuts() { closeSession(mSession); }

void PortalShortcuts::bind(const std::vector<Shortcut>& shortcuts) {
    mWanted = shortcuts;
    mBindWanted = true;
    if (mSendScheduled) return;
    mSendScheduled = true;
    QTimer::singleShot(0, this, [this] { sendWanted(); });
}

// Answers still to come belong to shortcuts wanted no longer: their sessions
// are closed when they come.
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
    if (!mRequests.bus().isConnected()) {
        fail(shown(kNoBus));
        return;
    }
    // KDE Plasma files the shortcuts under the session's token, and keeps the
    // keys its user assigns by that name: the first session of every run is
    // called the same.
    const QString token = mGeneration == 1 ? QStringLiteral("lirabox") : QStringLiteral("lirabox%1").arg(mGeneration);
    const QVariantMap options {{QStringLiteral("session_handle_token"), token},
                               {QStringLiteral("shortcuts"), shortcutList(mWanted)}};
    mRequests.call(
        kShortcutsInterface,
        QStringLiteral("CreateSession"),
        {},
        options,
        token,
        [this, generation = mGeneration](unsigned response, const QVariantMap& results) {
            const QString session = dbus::PortalRequests::handle(results.value(QStringLiteral("session_handle")));
            if (generation != mGeneration) {
                closeSession(session);
                return;
            }
            mSession = session;
            sessionCreated(response, results);
        },
        [this, generation = mGeneration](const QDBusError& error) {
            if (generation == mGeneration) failed(error);
        });
}

void PortalShortcuts::sessionCreated(unsigned response, const QVariantMap&) {
    if (response != 0) {
        fail(shown(kRefused));
        return;
    }
    mRequests.call(
        kShortcutsInterface,
        QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(mSession)), shortcutList(mWanted), QString()},
        {},
        QStringLiteral("lirabox%1bind").arg(mGeneration),
        [this, generation = mGeneration](unsigned answer, const QVariantMap& results) {
            if (generation == mGeneration) shortcutsBound(answer, results);
        },
        [this, generation = mGeneration](const QDBusError& error) {
            if (generation == mGeneration) failed(error);
        });
}

void PortalShortcuts::shortcutsBound(unsigned response, const QVariantMap& results) {
    if (response != 0) {
        fail(shown(kRefused));
        return;
    }
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

void PortalShortcuts::failed(const QDBusError& error) {
    fail(dbus::PortalRequests::isMissing(error) ? shown(kNoPortal)
                                                : shown(kRefused) + ": " + error.message().toStdString());
}

void PortalShortcuts::fail(const std::string& reason) {
    if (mKeys != nullptr) mKeys->unavailable(reason);
}

void PortalShortcuts::closeSession(const QString& session) {
    QDBusConnection connection = mRequests.bus();
    if (session.isEmpty() || !connection.isConnected()) return;
    connection.send(QDBusMessage::createMethodCall(
        QLatin1String(dbus::kPortalService), session, kSessionInterface, QStringLiteral("Close")));
}

void PortalShortcuts::onActivated(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (mKeys == nullptr || mSession.isEmpty() || arguments.size() < 2 ||
        dbus::PortalRequests::handle(arguments[0]) != mSession) {
        return;
    }
    mKeys->activated(arguments[1].toString().toStdString(), PortalKeys::Clock::now());
    scheduleRepeat();
}

void PortalShortcuts::onDeactivated(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (mKeys == nullptr || mSession.isEmpty() || arguments.size() < 2 ||
        dbus::PortalRequests::handle(arguments[0]) != mSession) {
        return;
    }
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
