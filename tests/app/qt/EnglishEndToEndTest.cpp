// The installed program on an English desktop (LANGUAGE=en), under a window
// manager on a private session bus: its menus, the settings dialog and a
// message, read as a screen reader reads them (AT-SPI, through gdbus).

#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include <gtest/gtest.h>

#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"

namespace lirabox::test {
namespace {

// Every accessible name in the program's windows, as the desktop's
// accessibility bus gives them to a screen reader.
class AccessibleNames {
public:
    AccessibleNames() : mBus(QDBusConnection::connectToBus(address(), QStringLiteral("a11y"))) {}

    std::set<std::string> of(pid_t pid) {
        std::set<std::string> names;
        for (const auto& [bus, path] : children(QStringLiteral("org.a11y.atspi.Registry"), kRoot)) {
            if (mBus.interface()->servicePid(bus).value() == static_cast<uint>(pid)) collect(bus, path, names);
        }
        return names;
    }

private:
    using Node = std::pair<QString, QString>;
    static inline const QString kRoot = QStringLiteral("/org/a11y/atspi/accessible/root");

    static QString address() {
        const QDBusMessage reply = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"), QStringLiteral("org.a11y.Bus"),
            QStringLiteral("GetAddress")));
        return reply.arguments().value(0).toString();
    }

    QDBusMessage call(const QString& bus, const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(bus, path, interface, method);
        message.setArguments(arguments);
        return mBus.call(message);
    }

    std::vector<Node> children(const QString& bus, const QString& path) {
        const QDBusMessage reply =
            call(bus, path, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetChildren"));
        std::vector<Node> found;
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

    void collect(const QString& bus, const QString& path, std::set<std::string>& names) {
        const QDBusMessage reply = call(bus, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"),
                                        {QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("Name")});
        const QString name = reply.arguments().value(0).value<QDBusVariant>().variant().toString();
        if (!name.isEmpty()) names.insert(name.toStdString());
        for (const auto& [childBus, childPath] : children(bus, path)) collect(childBus, childPath, names);
    }

    QDBusConnection mBus;
};

void expectAll(const std::set<std::string>& names, const std::set<std::string>& wanted) {
    for (const std::string& text : wanted) EXPECT_TRUE(names.contains(text)) << "not shown: " << text << " among " << testing::PrintToString(names);
}

TEST(EnglishEndToEnd, MenusSettingsDialogAndMessagesAreInEnglish) {
    InstalledPlayer install;
    install.setLanguage("en");
    // The accessibility bus the session starts for the program, with a socket of this test's own.
    const std::string runtime = install.scratch("a11y-runtime").string();
    commandOutput("mkdir -m 700 " + runtime + " && dbus-update-activation-environment XDG_RUNTIME_DIR=" + runtime +
                  " DISPLAY=" + std::getenv("DISPLAY"));
    ::setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
    const pid_t pid = install.start();
    const XWindow main = waitForWindow(pid, "Lirabox", false);
    ASSERT_NE(main, 0u);
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    AccessibleNames accessible;

    std::set<std::string> names;
    ASSERT_TRUE(waitUntil([&] { return (names = accessible.of(pid)).contains("File"); }))
        << "read: " << testing::PrintToString(names);
    expectAll(names, {"File", "Settings", "View", "Help", "Enable shortcut keys", "Always on top", "No file",
                      "Play", "Stop", "Open...", "Rewind", "Fast forward", "Position", "Volume"});
    for (const char* japanese : {"ファイル", "設定", "ヘルプ"}) EXPECT_FALSE(names.contains(japanese));

    // Settings > Playback...: the dialog, titled after its tab.
    activate(main);
    click(main, 20, 10);
    pressKeys(main, "Right Return");
    const XWindow dialog = waitForWindow(pid, "Playback", true);
    ASSERT_NE(dialog, 0u) << "no settings dialog titled in English";
    names = accessible.of(pid);
    expectAll(names, {"Playback", "Shortcut keys", "Always on top", "OK", "Cancel", "Apply",
                      "Automatic rewind on play", "Rewind step", "Fast-forward step", "sec"});
    pressKeys(dialog, "ctrl+Tab");
    ASSERT_NE(waitForWindow(pid, "Shortcut keys", true), 0u);
    names = accessible.of(pid);
    expectAll(names, {"Play/Pause", "Slow down", "Repeat start", "Repeat end", "Discard key"});
    EXPECT_TRUE(names.contains("* Click a box and press the key you want.") ||
                names.contains("* The same key is set more than once."));
    pressKeys(dialog, "Escape");
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "Shortcut keys", true) == 0; }));

    // Help > Contents, with no guide installed: the message.
    activate(main);
    click(main, 20, 10);
    pressKeys(main, "Right Right Right Return");
    const XWindow message = waitForWindow(pid, "Lirabox", true);
    ASSERT_NE(message, 0u);
    EXPECT_TRUE(accessible.of(pid).contains("The help file is missing."));
    pressKeys(message, "Return");

    pressKeys(main, "ctrl+q");
    EXPECT_EQ(install.waitForExit(pid), 0);
}

}  // namespace
}  // namespace lirabox::test
