#include "PortalTextTyper.h"

#include <QClipboard>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QGuiApplication>

#include <xkbcommon/xkbcommon.h>

namespace lirabox::dbus {
namespace {

const QString kRemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");
constexpr unsigned kKeyboard = 1;  // the device type
constexpr unsigned kReleased = 0, kPressed = 1;

}  // namespace

PortalTextTyper::PortalTextTyper(std::function<void()> tellOnce, QDBusConnection bus)
    : mRequests(std::move(bus)), mTellOnce(std::move(tellOnce)) {}

PortalTextTyper::~PortalTextTyper() { forget(); }

void PortalTextTyper::type(const std::string& text) {
    mPending.push_back(text);
    switch (mState) {
    case State::None: createSession(); break;
    case State::Starting: break;
    case State::Started: typePending(); break;
    case State::Refused: refuse(); break;
    }
}

void PortalTextTyper::createSession() {
    if (!mRequests.bus().isConnected()) {
        refuse();
        return;
    }
    mState = State::Starting;
    ++mAttempt;
    const QString token = QStringLiteral("liraboxtype%1").arg(mAttempt);
    mRequests.call(
        kRemoteDesktop,
        QStringLiteral("CreateSession"),
        {},
        {{QStringLiteral("session_handle_token"), token}},
        token,
        [this](unsigned response, const QVariantMap& results) {
            mSession = PortalRequests::handle(results.value(QStringLiteral("session_handle")));
            if (response != 0 || mSession.isEmpty()) {
                refuse();
                return;
            }
            QDBusConnection bus = mRequests.bus();
            bus.connect(QLatin1String(kPortalService),
                        mSession,
                        kSessionInterface,
                        QStringLiteral("Closed"),
                        this,
                        SLOT(onClosed(QDBusMessage)));
            selectDevices();
        },
        [this](const QDBusError&) { refuse(); });
}

void PortalTextTyper::selectDevices() {
    mRequests.call(
        kRemoteDesktop,
        QStringLiteral("SelectDevices"),
        {QVariant::fromValue(QDBusObjectPath(mSession))},
        {{QStringLiteral("types"), kKeyboard}},
        QStringLiteral("liraboxdevices%1").arg(mAttempt),
        [this](unsigned response, const QVariantMap&) {
            if (response != 0) {
                refuse();
                return;
            }
            start();
        },
        [this](const QDBusError&) { refuse(); });
}

void PortalTextTyper::start() {
    mRequests.call(
        kRemoteDesktop,
        QStringLiteral("Start"),
        {QVariant::fromValue(QDBusObjectPath(mSession)), QString()},
        {},
        QStringLiteral("liraboxstart%1").arg(mAttempt),
        [this](unsigned response, const QVariantMap& results) {
            if (response != 0 || (results.value(QStringLiteral("devices")).toUInt() & kKeyboard) == 0) {
                refuse();
                return;
            }
            mState = State::Started;
            typePending();
        },
        [this](const QDBusError&) { refuse(); });
}

void PortalTextTyper::typePending() {
    for (const std::string& text : std::exchange(mPending, {})) {
        for (const char32_t character : QString::fromStdString(text).toUcs4()) {
            const xkb_keysym_t keysym = xkb_utf32_to_keysym(character);
            if (keysym == XKB_KEY_NoSymbol) continue;
            mKeys.push_back({static_cast<int>(keysym), kPressed});
            mKeys.push_back({static_cast<int>(keysym), kReleased});
        }
    }
    if (!mSending) sendNextKey();
}

// One at a time: the portal may handle calls that wait together in any order.
void PortalTextTyper::sendNextKey() {
    mSending = !mKeys.empty() && mState == State::Started;
    if (!mSending) return;
    const auto [keysym, state] = mKeys.front();
    mKeys.pop_front();
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kPortalService),
                                                       QLatin1String(kPortalPath),
                                                       kRemoteDesktop,
                                                       QStringLiteral("NotifyKeyboardKeysym"));
    call << QVariant::fromValue(QDBusObjectPath(mSession)) << QVariantMap() << keysym << state;
    auto* watcher = new QDBusPendingCallWatcher(mRequests.bus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        sendNextKey();
    });
}

// No keyboard to type with: the texts go to the clipboard, the last one staying there.
void PortalTextTyper::refuse() {
    forget();
    mState = State::Refused;
    if (mPending.empty()) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(mPending.back()));
    mPending.clear();
    if (!mTold && mTellOnce) {
        mTold = true;
        mTellOnce();
    }
}

void PortalTextTyper::onClosed(const QDBusMessage& message) {
    if (message.path() != mSession) return;
    mSession.clear();
    forget();
    mState = State::None;
    mKeys.clear();
}

void PortalTextTyper::forget() {
    mRequests.forgetAll();
    if (mSession.isEmpty()) return;
    QDBusConnection bus = mRequests.bus();
    bus.disconnect(QLatin1String(kPortalService),
                   mSession,
                   kSessionInterface,
                   QStringLiteral("Closed"),
                   this,
                   SLOT(onClosed(QDBusMessage)));
    bus.send(QDBusMessage::createMethodCall(
        QLatin1String(kPortalService), mSession, kSessionInterface, QStringLiteral("Close")));
    mSession.clear();
}

}  // namespace lirabox::dbus
