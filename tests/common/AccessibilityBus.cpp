#include "AccessibilityBus.h"

#include <cstdlib>
#include <sstream>
#include <utility>

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace lirabox::test {
namespace {

const QString kRegistry = QStringLiteral("org.a11y.atspi.Registry");
const QString kRoot = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kAction = QStringLiteral("org.a11y.atspi.Action");

QString address() {
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"),
                                                                          QStringLiteral("/org/a11y/bus"),
                                                                          QStringLiteral("org.a11y.Bus"),
                                                                          QStringLiteral("GetAddress")));
    return reply.arguments().value(0).toString();
}

QVariant first(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0) : QVariant();
}

}  // namespace

void AccessibilityBus::enableForNewPrograms(const std::string& runtimeDir) {
    commandOutput("mkdir -m 700 -p " + runtimeDir + " && dbus-update-activation-environment XDG_RUNTIME_DIR=" +
                  runtimeDir + " DISPLAY=" + std::getenv("DISPLAY"));
    ::setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
}

AccessibilityBus::AccessibilityBus() : mBus(QDBusConnection::connectToBus(address(), QStringLiteral("a11y"))) {}

std::vector<AccessibleObject> AccessibilityBus::objectsOf(pid_t pid) {
    std::vector<AccessibleObject> found;
    for (const auto& [bus, path] : children(kRegistry, kRoot)) {
        if (mBus.interface()->servicePid(bus).value() == static_cast<uint>(pid)) collect(bus, path, found);
    }
    return found;
}

std::vector<std::pair<QString, QString>> AccessibilityBus::children(const QString& bus, const QString& path) {
    std::vector<std::pair<QString, QString>> found;
    const QDBusMessage reply =
        mBus.call(QDBusMessage::createMethodCall(bus, path, kAccessible, QStringLiteral("GetChildren")));
    if (reply.type() != QDBusMessage::ReplyMessage) return found;
    const auto list = reply.arguments().value(0).value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString childBus;
        QDBusObjectPath childPath;
        list.beginStructure();
        list >> childBus >> childPath;
        list.endStructure();
        found.emplace_back(childBus, childPath.path());
    }
    list.endArray();
    return found;
}

QVariant AccessibilityBus::property(const QString& bus, const QString& path, const QString& interface,
                                    const char* name) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        bus, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    message.setArguments({interface, QString::fromLatin1(name)});
    return first(mBus.call(message)).value<QDBusVariant>().variant();
}

AccessibleObject AccessibilityBus::read(const QString& bus, const QString& path) {
    AccessibleObject object {bus,
                             path,
                             property(bus, path, kAccessible, "Name").toString().toStdString(),
                             {},
                             property(bus, path, kAccessible, "Description").toString().toStdString(),
                             0};
    object.role =
        first(mBus.call(QDBusMessage::createMethodCall(bus, path, kAccessible, QStringLiteral("GetRoleName"))))
            .toString()
            .toStdString();
    const QDBusMessage states =
        mBus.call(QDBusMessage::createMethodCall(bus, path, kAccessible, QStringLiteral("GetState")));
    if (states.type() == QDBusMessage::ReplyMessage) {
        const auto words = states.arguments().value(0).value<QDBusArgument>();
        words.beginArray();
        for (unsigned shift = 0; !words.atEnd(); shift += 32) {
            uint word = 0;
            words >> word;
            if (shift < 64) object.states |= static_cast<std::uint64_t>(word) << shift;
        }
        words.endArray();
    }
    return object;
}

void AccessibilityBus::collect(const QString& bus, const QString& path, std::vector<AccessibleObject>& found) {
    found.push_back(read(bus, path));
    for (const auto& [childBus, childPath] : children(bus, path)) collect(childBus, childPath, found);
}

std::optional<AccessibleObject> AccessibilityBus::find(pid_t pid, const std::string& name, const std::string& role) {
    for (AccessibleObject& object : objectsOf(pid)) {
        if (object.name == name && object.role == role) return std::move(object);
    }
    return std::nullopt;
}

std::optional<ScreenRect> AccessibilityBus::extents(const AccessibleObject& object) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        object.bus, object.path, QStringLiteral("org.a11y.atspi.Component"), QStringLiteral("GetExtents"));
    message.setArguments({QVariant::fromValue(uint {0})});  // screen coordinates
    const QDBusMessage reply = mBus.call(message);
    if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
    const auto box = reply.arguments().value(0).value<QDBusArgument>();
    ScreenRect rect;
    box.beginStructure();
    box >> rect.x >> rect.y >> rect.width >> rect.height;
    box.endStructure();
    return rect;
}

std::string AccessibilityBus::text(const AccessibleObject& object) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        object.bus, object.path, QStringLiteral("org.a11y.atspi.Text"), QStringLiteral("GetText"));
    message.setArguments({0, -1});
    return first(mBus.call(message)).toString().toStdString();
}

bool AccessibilityBus::doAction(const AccessibleObject& object, const std::string& action) {
    const int count = property(object.bus, object.path, kAction, "NActions").toInt();
    for (int index = 0; index < count; ++index) {
        QDBusMessage name = QDBusMessage::createMethodCall(object.bus, object.path, kAction, QStringLiteral("GetName"));
        name.setArguments({index});
        if (first(mBus.call(name)).toString().toStdString() != action) continue;
        QDBusMessage run = QDBusMessage::createMethodCall(object.bus, object.path, kAction, QStringLiteral("DoAction"));
        run.setArguments({index});
        return first(mBus.call(run)).toBool();
    }
    return false;
}

std::string describe(const std::vector<AccessibleObject>& objects) {
    std::ostringstream text;
    for (const AccessibleObject& object : objects) {
        text << object.role << " '" << object.name << "' states 0x" << std::hex << object.states << std::dec << "\n";
    }
    return text.str();
}

}  // namespace lirabox::test
