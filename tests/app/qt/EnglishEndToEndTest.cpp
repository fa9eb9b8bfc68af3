// The installed program on an English desktop (LANGUAGE=en), under a window
// manager on a private session bus: its menus, the settings dialog and a
// message, read as a screen reader reads them (AT-SPI): names, roles, states
// and the toggle action.

#include <set>
#include <string>
#include <vector>

#include <QCoreApplication>

#include <gtest/gtest.h>

#include "tests/common/AccessibilityBus.h"
#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"

namespace lirabox::test {
namespace {

std::set<std::string> namesOf(AccessibilityBus& bus, pid_t pid) {
    std::set<std::string> names;
    for (const AccessibleObject& object : bus.objectsOf(pid)) {
        if (!object.name.empty()) names.insert(object.name);
    }
    return names;
}

bool above(XWindow window) {
    return commandOutput("xprop -id " + std::to_string(window) + " _NET_WM_STATE").find("_NET_WM_STATE_ABOVE") !=
           std::string::npos;
}

void expectAll(const std::set<std::string>& names, const std::set<std::string>& wanted) {
    for (const std::string& text : wanted)
        EXPECT_TRUE(names.contains(text)) << "not shown: " << text << " among " << testing::PrintToString(names);
}

TEST(EnglishEndToEnd, MenusSettingsDialogAndMessagesAreInEnglish) {
    InstalledPlayer install;
    install.setLanguage("en");
    // The accessibility bus the session starts for the program, with a socket of this test's own.
    AccessibilityBus::enableForNewPrograms(install.scratch("a11y-runtime").string());
    const pid_t pid = install.start();
    const XWindow main = waitForWindow(pid, "Lirabox", false);
    ASSERT_NE(main, 0u);
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    AccessibilityBus accessible;

    std::set<std::string> names;
    ASSERT_TRUE(waitUntil([&] { return (names = namesOf(accessible, pid)).contains("File"); }))
        << "read: " << testing::PrintToString(names);
    expectAll(names,
              {"File",
               "Settings",
               "View",
               "Help",
               "Enable shortcut keys",
               "Always on top",
               "No file",
               "Play",
               "Stop",
               "Open...",
               "Rewind",
               "Fast forward",
               "Position",
               "Volume"});
    for (const char* japanese : {"ファイル", "設定", "ヘルプ"}) EXPECT_FALSE(names.contains(japanese));

    // Settings > Playback...: the dialog, titled after its tab.
    activate(main);
    click(main, 20, 10);
    pressKeys(main, "Right Return");
    const XWindow dialog = waitForWindow(pid, "Playback", true);
    ASSERT_NE(dialog, 0u) << "no settings dialog titled in English";
    names = namesOf(accessible, pid);
    expectAll(names,
              {"Playback",
               "Shortcut keys",
               "Always on top",
               "OK",
               "Cancel",
               "Apply",
               "Automatic rewind on play",
               "Rewind step",
               "Fast-forward step",
               "sec"});
    pressKeys(dialog, "ctrl+Tab");
    ASSERT_NE(waitForWindow(pid, "Shortcut keys", true), 0u);
    names = namesOf(accessible, pid);
    expectAll(names, {"Play/Pause", "Slow down", "Repeat start", "Repeat end", "Discard key"});
    EXPECT_TRUE(names.contains("* Click a box and press the key you want.") ||
                names.contains("* The same key is set more than once."));
    EXPECT_TRUE(names.contains("Suggested keys"));

    // Every control a user can reach has a name; read-only boxes are not
    // editable, the chosen tab is selected, the lists are named by their labels.
    const std::vector<AccessibleObject> objects = accessible.objectsOf(pid);
    const std::set<std::string> controls {
        "push button", "check box", "text", "combo box", "page tab", "slider", "radio button", "spin button"};
    for (const AccessibleObject& object : objects) {
        if (!controls.contains(object.role) || !object.has(AccessibleState::Showing)) continue;
        EXPECT_FALSE(object.name.empty()) << object.role << " without a name among\n" << describe(objects);
    }
    const std::optional<AccessibleObject> keyBox = accessible.find(pid, "Repeat end", "text");
    ASSERT_TRUE(keyBox.has_value()) << describe(objects);
    EXPECT_FALSE(keyBox->has(AccessibleState::Editable)) << describe({*keyBox});
    EXPECT_TRUE(keyBox->has(AccessibleState::ReadOnly)) << describe({*keyBox});
    const std::optional<AccessibleObject> keyTab = accessible.find(pid, "Shortcut keys", "page tab");
    ASSERT_TRUE(keyTab.has_value()) << describe(objects);
    EXPECT_TRUE(keyTab->has(AccessibleState::Selected));
    EXPECT_FALSE(accessible.find(pid, "Playback", "page tab")->has(AccessibleState::Selected));
    pressKeys(dialog, "ctrl+shift+Tab");
    ASSERT_NE(waitForWindow(pid, "Playback", true), 0u);
    EXPECT_TRUE(accessible.find(pid, "Time stamp format", "combo box").has_value())
        << describe(accessible.objectsOf(pid));
    pressKeys(dialog, "Escape");
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "Playback", true) == 0; }));

    // The volume is a percentage; a screen reader's toggle is a click.
    const std::optional<AccessibleObject> volume = accessible.find(pid, "Volume", "slider");
    ASSERT_TRUE(volume.has_value());
    EXPECT_EQ(accessible.property(*volume, "org.a11y.atspi.Value", "MaximumValue").toDouble(), 100.0);
    const std::optional<AccessibleObject> onTop = accessible.find(pid, "Always on top", "check box");
    ASSERT_TRUE(onTop.has_value());
    ASSERT_TRUE(accessible.doAction(*onTop, "Toggle")) << "no toggle action";
    EXPECT_TRUE(waitUntil([&] { return above(main); }));

    // Help > Contents, with no guide installed: the message.
    activate(main);
    click(main, 20, 10);
    pressKeys(main, "Right Right Right Return");
    const XWindow message = waitForWindow(pid, "Lirabox", true);
    ASSERT_NE(message, 0u);
    EXPECT_TRUE(namesOf(accessible, pid).contains("The help file is missing."));
    pressKeys(message, "Return");

    pressKeys(main, "ctrl+q");
    EXPECT_EQ(install.waitForExit(pid), 0);
}

}  // namespace
}  // namespace lirabox::test
