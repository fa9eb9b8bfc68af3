#pragma once
// The desktop's shortcut portal on the session bus
// (org.freedesktop.portal.GlobalShortcuts, xdg-desktop-portal 1.16 and later):
// the bus side of PortalKeys. bind() opens a new session with the shortcuts
// (also passed to CreateSession, where KDE Plasma 5.27 reads them) and binds
// them; the portal's answers, activations and deactivations go to the keys.
// Calls made in one turn of the event loop are sent once, the last winning.
// A session of an earlier bind is closed first; answers that belong to it are
// dropped. Without a session bus or a portal the keys hear `unavailable` with
// the reason. UI thread only.

#include "hotkeys/PortalKeys.h"
#include "support/dbus/PortalRequest.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QTimer>

namespace lirabox::hotkeys {

class PortalShortcuts final : public QObject, public ShortcutPortal {
    Q_OBJECT
public:
    explicit PortalShortcuts(QDBusConnection bus = QDBusConnection::sessionBus());
    ~PortalShortcuts() override;

    // Where the answers go; set before the first bind.
    void answerTo(PortalKeys& keys) { mKeys = &keys; }

    void bind(const std::vector<Shortcut>& shortcuts) override;
    void unbind() override;

private Q_SLOTS:
    void onActivated(const QDBusMessage& message);
    void onDeactivated(const QDBusMessage& message);

private:
    void sendWanted();
    void closeSession(const QString& session);
    void sessionCreated(unsigned response, const QVariantMap& results);
    void shortcutsBound(unsigned response, const QVariantMap& results);
    void failed(const QDBusError& error);
    void fail(const std::string& reason);
    void scheduleRepeat();

    dbus::PortalRequests mRequests;
    PortalKeys* mKeys = nullptr;
    std::vector<Shortcut> mWanted;
    bool mBindWanted = false;
    bool mSendScheduled = false;
    unsigned mGeneration = 0;
    QString mSession;  // the bound session's handle; empty while none
    QTimer mRepeat;
};

}  // namespace lirabox::hotkeys
