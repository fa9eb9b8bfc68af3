#pragma once
// Calls of the desktop portal (org.freedesktop.portal.Desktop on the session
// bus) that answer through a Request object: the result comes later, as the
// Response signal of the object the call names by its handle_token. The
// answer may come before the call's own reply is read, so the signal is
// subscribed to first (its path follows from the connection's unique name
// and the token), then the method is called. UI thread only; the callbacks
// run there and are dropped with this object.

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>

namespace lirabox::dbus {

inline constexpr const char* kPortalService = "org.freedesktop.portal.Desktop";
inline constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";

class PortalRequests final : public QObject {
    Q_OBJECT
public:
    // response: 0 granted, 1 cancelled by the user, 2 refused otherwise.
    using Answered = std::function<void(unsigned response, const QVariantMap& results)>;
    using Failed = std::function<void(const QDBusError& error)>;

    explicit PortalRequests(QDBusConnection bus);

    const QDBusConnection& bus() const { return mBus; }

    // Calls interface.method(arguments..., options) with options' handle_token
    // set to `token` (unique among the requests waiting); exactly one of the
    // callbacks runs, unless forgetAll() comes first.
    void call(const QString& interface, const QString& method, const QList<QVariant>& arguments, QVariantMap options,
              const QString& token, Answered answered, Failed failed);
    // The answers still to come are not wanted any more.
    void forgetAll();

    // A handle the portal gives back, which one version sends as a string and another as an object path.
    static QString handle(const QVariant& value);
    // Whether the error means there is no such portal (no frontend, or no backend for the interface).
    static bool isMissing(const QDBusError& error);

private Q_SLOTS:
    void onResponse(const QDBusMessage& message);

private:
    struct Waiting {
        Answered answered;
        Failed failed;
    };

    void drop(const QString& path);

    QDBusConnection mBus;
    QHash<QString, Waiting> mWaiting;  // by request path
};

}  // namespace lirabox::dbus
