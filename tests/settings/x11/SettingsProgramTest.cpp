// The installed program on a private X server with a window manager and a
// session bus: keys set in the settings dialog with the keyboard and the
// mouse, as a user does, then pressed while another program has the focus.
// The controls are found as a screen reader finds them (AT-SPI), playback is
// read from the program's media-player interface (playerctl).

#include "tests/common/AccessibilityBus.h"
#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Recordings.h"
#include "tests/hotkeys/ShortcutRows.h"
#include "tests/hotkeys/x11/OtherClient.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <X11/Xlib.h>

#include <memory>
#include <string>

namespace lirabox::test {
namespace {

// The row captions of the shortcut-key tab, the key boxes' and discard boxes' names.
const std::string kRows[] = {"再生・一時停止", "停止", "速度アップ", "速度ダウン"};

class TheSettingsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        AccessibilityBus::enableForNewPrograms(player.scratch("a11y-runtime").string());
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) mApplication = std::make_unique<QCoreApplication>(argc, argv);
        accessible = std::make_unique<AccessibilityBus>();
    }

    // Starts the player on a recording and waits until it plays.
    void startPlaying() {
        const auto recording = player.scratch("interview.wav");
        writeSineWav(recording, 300, 440.0, 8000, 1);
        pid = player.start({recording.string()});
        main = waitForWindow(pid, "Lirabox", false);
        ASSERT_NE(main, 0u) << player.output();
        ASSERT_TRUE(waitUntil([&] { return status() == "Playing"; })) << player.output();
    }

    // "Playing", "Paused" or "Stopped", as the desktop's media keys see it.
    std::string status() const {
        std::string text = commandOutput("timeout 10 playerctl -p lirabox status");
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
        return text;
    }

    // "設定" > "ショートカットキー設定" from the keyboard (Alt+S).
    XWindow openShortcutKeySettings() {
        activate(main);
        pressKeys(main, "alt+s Down Down Return");
        return waitForWindow(pid, "ショートカットキー設定", true);
    }

    // Clicks the middle of the control with this name and role, as the accessibility bus places it.
    void clickOn(const std::string& name, const std::string& role) {
        std::optional<ScreenRect> place;
        ASSERT_TRUE(waitUntil([&] {
            const std::optional<AccessibleObject> control = accessible->find(pid, name, role);
            return control && control->has(AccessibleState::Showing) && (place = accessible->extents(*control)) &&
                   place->width > 0;
        })) << name
            << " (" << role << ") not shown among\n"
            << describe(accessible->objectsOf(pid));
        xdotool("mousemove " + std::to_string(place->x + place->width / 2) + " " +
                std::to_string(place->y + place->height / 2) + " click 1");
    }

    // Whether the key box of the row shows the text, read as a screen reader reads it.
    bool keyBoxShows(const std::string& row, const std::string& text) {
        const std::optional<AccessibleObject> box = accessible->find(pid, row, "text");
        return box && accessible->text(*box) == text;
    }

    bool holdsRow(const std::string& row) const { return player.readFile("config.ini").find(row) != std::string::npos; }

    InstalledPlayer player;
    std::unique_ptr<AccessibilityBus> accessible;
    pid_t pid = 0;
    XWindow main = 0;

private:
    std::unique_ptr<QCoreApplication> mApplication;
};

// What the close button of the title bar does: the window manager is asked to close the window.
void closeByTitleBar(Display* display, XWindow window) {
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = 2;  // from a pager or user action
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

TEST_F(TheSettingsDialog, KeysSetWithTheKeyboardWorkSystemWideAndARegisteredKeyIsCapturedAgain) {
    startPlaying();
    XWindow dialog = openShortcutKeySettings();
    ASSERT_NE(dialog, 0u) << player.output();
    clickOn(kRows[0], "text");
    xdotool("key F9");
    clickOn(kRows[0], "check box");
    // Ctrl alone keeps the focus in row 2; Ctrl+F5 moves it on to row 3, which takes F3.
    clickOn(kRows[2], "text");
    xdotool("keydown ctrl");
    xdotool("key F5");
    xdotool("keyup ctrl");
    xdotool("key F3");
    ASSERT_TRUE(waitUntil([&] { return keyBoxShows(kRows[3], "F3"); }));
    // A click on the other tab and back, with the focus in row 1's box, captures nothing.
    clickOn(kRows[1], "text");
    clickOn("再生設定", "page tab");
    ASSERT_NE(waitForWindow(pid, "再生設定", true), 0u);
    clickOn("ショートカットキー設定", "page tab");
    ASSERT_NE(waitForWindow(pid, "ショートカットキー設定", true), 0u);
    clickOn("OK", "push button");
    ASSERT_TRUE(waitUntil([&] { return holdsRow(shortcutRow(3, 3, 114, 0)); })) << player.readFile("config.ini");
    EXPECT_TRUE(holdsRow(shortcutRow(0, 0, 120, 1, 0)));
    EXPECT_TRUE(holdsRow(shortcutRow(1, 1, 0, 0, 0))) << player.readFile("config.ini");
    EXPECT_TRUE(holdsRow(shortcutRow(2, 2, 116, 0, 2)));
    // OK hides the dialog.
    EXPECT_TRUE(waitUntil([&] { return findWindow(pid, "ショートカットキー設定", true) == 0; }));

    // Applied keys work at once, in another program, which never sees them.
    OtherClient other;
    ASSERT_TRUE(other.takeFocus());
    xdotool("key F9");
    EXPECT_TRUE(waitUntil([&] { return status() == "Paused"; }));
    EXPECT_EQ(other.pressesBeforeMarker(), std::vector<XId> {});

    // F9 is registered and swallowed, yet a key box takes it, and playback is left alone.
    dialog = openShortcutKeySettings();
    ASSERT_NE(dialog, 0u);
    clickOn(kRows[1], "text");
    xdotool("key F9");
    ASSERT_TRUE(waitUntil([&] { return keyBoxShows(kRows[1], "F9"); }));
    EXPECT_EQ(status(), "Paused");
    clickOn("OK", "push button");
    ASSERT_TRUE(waitUntil([&] { return holdsRow(shortcutRow(1, 1, 120, 0)); })) << player.readFile("config.ini");

    // Once the focus has left the key boxes the keys are back: the lower of the two F9 rows plays.
    ASSERT_TRUE(other.takeFocus());
    xdotool("key F9");
    EXPECT_TRUE(waitUntil([&] { return status() == "Playing"; }));
    EXPECT_EQ(other.pressesBeforeMarker(), std::vector<XId> {});
}

TEST_F(TheSettingsDialog, AFreshSetUpWarnsOfNothingAndTheSuggestedKeysWorkAtOnce) {
    startPlaying();
    ASSERT_NE(openShortcutKeySettings(), 0u) << player.output();
    EXPECT_TRUE(
        accessible->find(pid, "＊テキストボックスを選んで，任意のキーを入力してください。", "label").has_value())
        << describe(accessible->objectsOf(pid));
    clickOn("おすすめのキーを入れる", "push button");
    ASSERT_TRUE(waitUntil([&] { return keyBoxShows(kRows[0], "F9"); }));
    clickOn("OK", "push button");
    ASSERT_TRUE(waitUntil([&] { return holdsRow(shortcutRow(0, 0, 120, 1)); })) << player.readFile("config.ini");

    OtherClient other;
    ASSERT_TRUE(other.takeFocus());
    xdotool("key F9");
    EXPECT_TRUE(waitUntil([&] { return status() == "Paused"; }));
    xdotool("key F4");
    EXPECT_TRUE(waitUntil([&] { return status() == "Stopped"; }));
    // (The other client's end marker, F12, is one of the suggested keys now: swallowed.)
}

TEST_F(TheSettingsDialog, KeyNamesAreTheLegendsOfTheActiveLayout) {
    startPlaying();
    ASSERT_NE(openShortcutKeySettings(), 0u) << player.output();
    // The test display's keyboard is a US one: ";" is the key Windows calls VK_OEM_1, "=" VK_OEM_PLUS.
    clickOn(kRows[0], "text");
    xdotool("key semicolon");
    EXPECT_TRUE(waitUntil([&] { return keyBoxShows(kRows[0], ";"); }));
    xdotool("key equal");
    EXPECT_TRUE(waitUntil([&] { return keyBoxShows(kRows[1], "="); }));
    xdotool("key Menu");
    EXPECT_TRUE(waitUntil([&] { return keyBoxShows(kRows[2], "Menu"); }));
    // The codes stored are the same whatever the names.
    clickOn("OK", "push button");
    ASSERT_TRUE(waitUntil([&] { return holdsRow(shortcutRow(2, 2, 93, 0)); })) << player.readFile("config.ini");
    EXPECT_TRUE(holdsRow(shortcutRow(0, 0, 186, 0)));
    EXPECT_TRUE(holdsRow(shortcutRow(1, 1, 187, 0)));
}

TEST_F(TheSettingsDialog, ClosedByItsTitleBarItHidesAndTheKeysStayOn) {
    player.writeFile("config.ini", shortcutRow(0, 0, 120, 1));
    startPlaying();
    const XWindow dialog = openShortcutKeySettings();
    ASSERT_NE(dialog, 0u) << player.output();

    OtherClient other;
    closeByTitleBar(other.display(), dialog);
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "ショートカットキー設定", true) == 0; }));
    EXPECT_TRUE(player.running(pid));

    ASSERT_TRUE(other.takeFocus());
    xdotool("key F9");
    EXPECT_TRUE(waitUntil([&] { return status() == "Paused"; }));
    xdotool("key F9");
    EXPECT_TRUE(waitUntil([&] { return status() == "Playing"; }));
    EXPECT_EQ(other.pressesBeforeMarker(), std::vector<XId> {});
}

}  // namespace
}  // namespace lirabox::test
