#pragma once
// A program's windows as a screen reader reads them: the desktop's
// accessibility bus (AT-SPI over D-Bus, at-spi2-core). Needs the test's
// private session bus (the DBUS label) and a QCoreApplication of the test's
// own; calls block until the program answers, on the calling thread.

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

#include <QDBusConnection>
#include <QString>
#include <QVariant>

#include "Desktop.h"

namespace lirabox::test {

// States as AT-SPI numbers them (AtspiStateType).
enum class AccessibleState : unsigned {
    Checked = 4,
    Editable = 7,
    Focusable = 11,
    Focused = 12,
    Selected = 23,
    Showing = 25,
    ReadOnly = 43,
};

struct AccessibleObject {
    QString bus;
    QString path;
    std::string name;
    std::string role;  // AT-SPI's role name: "push button", "check box", "text", "frame", ...
    std::string description;
    std::uint64_t states = 0;

    bool has(AccessibleState state) const { return (states >> static_cast<unsigned>(state)) & 1u; }
};

class AccessibilityBus {
public:
    // Programs started after this call talk to the session's accessibility
    // bus, whose socket goes into runtimeDir (made here, mode 700).
    static void enableForNewPrograms(const std::string& runtimeDir);

    AccessibilityBus();

    // Every object of the process's windows, depth first.
    std::vector<AccessibleObject> objectsOf(pid_t pid);
    // The first object of the process's windows with this name and role, if any.
    std::optional<AccessibleObject> find(pid_t pid, const std::string& name, const std::string& role);
    // Where the object stands on the screen, in root-window pixels.
    std::optional<ScreenRect> extents(const AccessibleObject& object);
    // A property of one of the object's interfaces ("org.a11y.atspi.Value", "MaximumValue").
    QVariant property(const AccessibleObject& object, const char* interface, const char* name) {
        return property(object.bus, object.path, QString::fromLatin1(interface), name);
    }
    // The text of an object with a text (AT-SPI's Text interface); empty otherwise.
    std::string text(const AccessibleObject& object);
    // Runs the object's action of this name ("press", "toggle", ...); false when it has none.
    bool doAction(const AccessibleObject& object, const std::string& action);

private:
    std::vector<std::pair<QString, QString>> children(const QString& bus, const QString& path);
    QVariant property(const QString& bus, const QString& path, const QString& interface, const char* name);
    AccessibleObject read(const QString& bus, const QString& path);
    void collect(const QString& bus, const QString& path, std::vector<AccessibleObject>& found);

    QDBusConnection mBus;
};

// One line per object ("role 'name' states"), for failure messages.
std::string describe(const std::vector<AccessibleObject>& objects);

}  // namespace lirabox::test
