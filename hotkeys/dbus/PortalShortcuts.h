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

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
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
    void onResponse(const QDBusMessage& message);
    void onActivated(const QDBusMessage& message);
    void onDeactivated(const QDBusMessage& message);

private:
    enum class Step { CreateSession, BindShortcuts };
    struct Request {
        Step step;
        unsigned generation;
    };

    void sendWanted();
    void closeSession(const QString& session);
    // Subscribes to the answer first (it may come before the call's reply), then calls.
    void request(Step step, const QString& method, const QList<QVariant>& arguments, const QString& token);
    void sessionCreated(const QVariantMap& results);
    void shortcutsBound(const QVariantMap& results);
    void fail(const std::string& reason);
    void scheduleRepeat();

    QDBusConnection mBus;
    PortalKeys* mKeys = nullptr;
    std::vector<Shortcut> mWanted;
    bool mBindWanted = false;
    bool mSendScheduled = false;
    unsigned mGeneration = 0;
    QString mSession;  // the bound session's handle; empty while none
    QHash<QString, Request> mRequests;  // by request path
    QTimer mRepeat;
};

}  // namespace lirabox::hotkeys
