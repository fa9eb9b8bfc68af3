// The installed program on a private X server with a window manager: keys set
// in the settings dialog with the keyboard and the mouse, as a user does, then
// pressed while another program has the focus. Playback is seen through the
// positions the program hands to Timepost.

#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/hotkeys/x11/OtherClient.h"
#include "tests/common/Recordings.h"
#include "tests/hotkeys/ShortcutRows.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <thread>

namespace lirabox::test {
namespace {

// Places in the dialog's client area (the layout is fixed for the test's fonts and screen).
constexpr int kKeyBoxX = 220;
constexpr int kDiscardX = 365;
constexpr int kOkX = 194;
constexpr int kOkY = 371;
int rowY(int row) { return 106 + 28 * row; }

// The menu bar's "設定" of the main window.
constexpr int kSettingsMenuX = 75;
constexpr int kMenuBarY = 10;

void startPlaying(InstalledPlayer& player, pid_t& pid, XWindow& main) {
    const auto recording = player.scratch("interview.wav");
    writeSineWav(recording, 300, 440.0, 8000, 1);
    pid = player.start({recording.string()});
    main = waitForWindow(pid, "Lirabox", false);
    ASSERT_NE(main, 0u) << player.output();
    ASSERT_TRUE(waitUntil([&] { return player.position().has_value(); })) << player.output();
}

// Playing: the position tick hands Timepost new positions.
bool playing(const InstalledPlayer& player) {
    const std::size_t before = player.publishedCalls().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return player.publishedCalls().size() > before;
}

XWindow openShortcutKeySettings(pid_t pid, XWindow main) {
    click(main, kSettingsMenuX, kMenuBarY);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    xdotool("key Down Down Return");
    return waitForWindow(pid, "ショートカットキー設定", true);
}

// What the close button of the title bar does: the window manager is asked to close the window.
void closeByTitleBar(Display* display, XWindow window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = 2;  // from a pager or user action
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(display);
}

bool holdsRow(const InstalledPlayer& player, const std::string& row) {
    return player.readFile("config.ini").find(row) != std::string::npos;
}

TEST(TheSettingsDialog, KeysSetWithTheKeyboardWorkSystemWideAndARegisteredKeyIsCapturedAgain) {
    InstalledPlayer player;
    pid_t pid = 0;
    XWindow main = 0;
    startPlaying(player, pid, main);

    XWindow dialog = openShortcutKeySettings(pid, main);
    ASSERT_NE(dialog, 0u) << player.output();
    click(dialog, kKeyBoxX, rowY(0));
    xdotool("key F9");
    click(dialog, kDiscardX, rowY(0));
    // Ctrl alone keeps the focus in row 2; Ctrl+F5 moves it on to row 3, which takes F3.
    click(dialog, kKeyBoxX, rowY(2));
    xdotool("keydown ctrl");
    xdotool("key F5");
    xdotool("keyup ctrl");
    xdotool("key F3");
    click(dialog, kOkX, kOkY);
    ASSERT_TRUE(waitUntil([&] { return holdsRow(player, shortcutRow(3, 3, 114, 0)); }))
        << player.readFile("config.ini");
    EXPECT_TRUE(holdsRow(player, shortcutRow(0, 0, 120, 1, 0)));
    EXPECT_TRUE(holdsRow(player, shortcutRow(2, 2, 116, 0, 2)));
    // OK hides the dialog.
    EXPECT_TRUE(waitUntil([&] { return findWindow(pid, "ショートカットキー設定", true) == 0; }));

    // Applied keys work at once, in another program, which never sees them.
    OtherClient other;
    ASSERT_TRUE(other.takeFocus());
    ASSERT_TRUE(playing(player));
    xdotool("key F9");
    EXPECT_FALSE(playing(player));
    EXPECT_EQ(other.pressesBeforeMarker(), std::vector<XId>{});

    // F9 is registered and swallowed, yet a key box takes it, and playback is left alone.
    dialog = openShortcutKeySettings(pid, main);
    ASSERT_NE(dialog, 0u);
    click(dialog, kKeyBoxX, rowY(1));
    xdotool("key F9");
    EXPECT_FALSE(playing(player));
    click(dialog, kOkX, kOkY);
    ASSERT_TRUE(waitUntil([&] { return holdsRow(player, shortcutRow(1, 1, 120, 0)); }))
        << player.readFile("config.ini");

    // Once the focus has left the key boxes the keys are back: the lower of the two F9 rows plays.
    ASSERT_TRUE(other.takeFocus());
    xdotool("key F9");
    EXPECT_TRUE(playing(player));
    EXPECT_EQ(other.pressesBeforeMarker(), std::vector<XId>{});
}

TEST(TheSettingsDialog, ClosedByItsTitleBarItHidesAndTheKeysStayOn) {
    InstalledPlayer player;
    player.writeFile("config.ini", shortcutRow(0, 0, 120, 1));
    pid_t pid = 0;
    XWindow main = 0;
    startPlaying(player, pid, main);
    const XWindow dialog = openShortcutKeySettings(pid, main);
    ASSERT_NE(dialog, 0u) << player.output();

    OtherClient other;
    closeByTitleBar(other.display(), dialog);
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "ショートカットキー設定", true) == 0; }));
    EXPECT_TRUE(player.running(pid));

    ASSERT_TRUE(other.takeFocus());
    ASSERT_TRUE(playing(player));
    xdotool("key F9");
    EXPECT_FALSE(playing(player));
    xdotool("key F9");
    EXPECT_TRUE(playing(player));
    EXPECT_EQ(other.pressesBeforeMarker(), std::vector<XId>{});
}

}  // namespace
}  // namespace lirabox::test
