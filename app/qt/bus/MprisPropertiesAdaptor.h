#pragma once
// org.freedesktop.DBus.Properties of the player's object, answered from the
// properties of the object's other adaptors (MprisRootAdaptor,
// MprisPlayerAdaptor). It stands in for Qt's own answer so that a Set whose
// value is not of the property's D-Bus type (a string for Rate, say) is
// refused with InvalidArgs and changes nothing: Qt's converts what it can
// ("1.5" would set the rate) and answers the rest as an internal error.
//
// UI thread, like the adaptors it reads. Errors go back to the caller as
// D-Bus errors (UnknownInterface, UnknownProperty, PropertyReadOnly,
// InvalidArgs).

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>
#include <QVariantMap>

namespace lirabox::dbus {

class MprisPropertiesAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.DBus.Properties")
    // Qt describes this standard interface on every object itself.
    Q_CLASSINFO("D-Bus Introspection", "")

public:
    explicit MprisPropertiesAdaptor(QObject* parent);

public slots:
    QDBusVariant Get(const QString& interface_name, const QString& property_name, const QDBusMessage& message);
    QVariantMap GetAll(const QString& interface_name, const QDBusMessage& message);
    void Set(const QString& interface_name, const QString& property_name, const QDBusVariant& value,
             const QDBusMessage& message);
};

}  // namespace lirabox::dbus
