#include "MprisPropertiesAdaptor.h"

#include "ErrorReply.h"

#include <optional>

#include <QDBusMetaType>
#include <QList>
#include <QMetaProperty>

namespace lirabox::dbus {
namespace {

QString interfaceOf(const QObject& adaptor) {
    const QMetaObject* meta = adaptor.metaObject();
    const int index = meta->indexOfClassInfo("D-Bus Interface");
    return index < 0 ? QString() : QString::fromLatin1(meta->classInfo(index).value());
}

// The other adaptors of the object that serve `interface` (every one for an
// empty name, which the bus allows to mean "any").
QList<QObject*> adaptorsFor(const QObject& self, const QString& interface) {
    QList<QObject*> found;
    for (QObject* child : self.parent()->children()) {
        if (child == &self || qobject_cast<QDBusAbstractAdaptor*>(child) == nullptr) continue;
        if (interface.isEmpty() || interfaceOf(*child) == interface) found << child;
    }
    return found;
}

// The properties an adaptor declares itself (not QObject's objectName).
QList<QMetaProperty> propertiesOf(const QObject& adaptor) {
    QList<QMetaProperty> properties;
    const QMetaObject* meta = adaptor.metaObject();
    for (int i = QDBusAbstractAdaptor::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        properties << meta->property(i);
    }
    return properties;
}

struct Property {
    QObject* adaptor;
    QMetaProperty meta;
};

// The named property, or nothing after the call has been answered with why not.
std::optional<Property> find(const QObject& self, const QString& interface, const QString& name,
                             const QDBusMessage& message) {
    const QList<QObject*> adaptors = adaptorsFor(self, interface);
    if (adaptors.isEmpty()) {
        replyWithError(message, QDBusError::UnknownInterface, QStringLiteral("no such interface: ") + interface);
        return std::nullopt;
    }
    for (QObject* adaptor : adaptors) {
        for (const QMetaProperty& property : propertiesOf(*adaptor)) {
            if (name == QLatin1String(property.name())) return Property {adaptor, property};
        }
    }
    replyWithError(message, QDBusError::UnknownProperty, QStringLiteral("no such property: ") + name);
    return std::nullopt;
}

}  // namespace

MprisPropertiesAdaptor::MprisPropertiesAdaptor(QObject* parent) : QDBusAbstractAdaptor(parent) {}

QDBusVariant MprisPropertiesAdaptor::Get(const QString& interface_name, const QString& property_name,
                                         const QDBusMessage& message) {
    const auto property = find(*this, interface_name, property_name, message);
    return property ? QDBusVariant(property->meta.read(property->adaptor)) : QDBusVariant();
}

QVariantMap MprisPropertiesAdaptor::GetAll(const QString& interface_name, const QDBusMessage& message) {
    const QList<QObject*> adaptors = adaptorsFor(*this, interface_name);
    if (adaptors.isEmpty()) {
        replyWithError(message, QDBusError::UnknownInterface, QStringLiteral("no such interface: ") + interface_name);
        return {};
    }
    QVariantMap values;
    for (QObject* adaptor : adaptors) {
        for (const QMetaProperty& property : propertiesOf(*adaptor)) {
            values.insert(QLatin1String(property.name()), property.read(adaptor));
        }
    }
    return values;
}

void MprisPropertiesAdaptor::Set(const QString& interface_name, const QString& property_name, const QDBusVariant& value,
                                 const QDBusMessage& message) {
    const auto property = find(*this, interface_name, property_name, message);
    if (!property) return;
    if (!property->meta.isWritable()) {
        replyWithError(message, QDBusError::PropertyReadOnly, property_name + QStringLiteral(" cannot be set"));
        return;
    }
    const QMetaType type = property->meta.metaType();
    if (value.variant().metaType() != type) {
        replyWithError(message,
                       QDBusError::InvalidArgs,
                       property_name + QStringLiteral(" takes a value of type ") +
                           QString::fromLatin1(QDBusMetaType::typeToSignature(type)));
        return;
    }
    property->meta.write(property->adaptor, value.variant());
}

}  // namespace lirabox::dbus
