// The installed program's menus and one-line mode on a real X display with a
// window manager, driven with xdotool: the "above" state as the window
// manager records it (_NET_WM_STATE_ABOVE), switching views with Alt+Enter,
// dragging the one-line window, the global keys while it is shown, the help
// and version messages, and quitting from its popup.

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Recordings.h"
#include "tests/hotkeys/ShortcutRows.h"
#include "tests/hotkeys/x11/OtherClient.h"

namespace lirabox::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kF7 = 118, kF8 = 119;

bool isAbove(XWindow window) {
    return commandOutput("xprop -id " + std::to_string(window) + " _NET_WM_STATE").find("_NET_WM_STATE_ABOVE") !=
           std::string::npos;
}

bool isMapped(XWindow window) {
    return commandOutput("xwininfo -id " + std::to_string(window)).find("IsViewable") != std::string::npos;
}

// Keys to whatever holds the keyboard now (an open menu grabs it).
void keys(const std::string& names) { commandOutput("xdotool key " + names); }

// Opens the window's popup menu with a right click at that point.
void openPopup(pid_t pid, XWindow window, int x, int y) {
    EXPECT_TRUE(opensWindow(pid, [&] {
        commandOutput("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
                      std::to_string(y) + " click 3");
    })) << "no popup menu";
}

// Opens the "ファイル" menu with the mouse and walks right to the menu
// `steps` further along, whose first item is then chosen with `downs` more.
void chooseFromMenuBar(pid_t pid, XWindow window, int steps, int downs = 0) {
    activate(window);
    EXPECT_TRUE(opensWindow(pid, [&] { click(window, 20, 10); })) << "the menu \"ファイル\" does not open";
    std::string walk;
    for (int i = 0; i < steps; ++i) walk += " Right";
    for (int i = 0; i < downs; ++i) walk += " Down";
    keys(walk + " Return");
}

struct Spot {
    int x = 0;
    int y = 0;
    bool operator==(const Spot&) const = default;
};

Spot clientPlace(XWindow window) {
    const std::string info = commandOutput("xwininfo -id " + std::to_string(window));
    const auto value = [&](const std::string& label) {
        return std::stoi(info.substr(info.find(label) + label.size()));
    };
    return {value("Absolute upper-left X:"), value("Absolute upper-left Y:")};
}

class OneLineEndToEnd : public ::testing::Test {
protected:
    XWindow mainWindow(pid_t pid) { return waitForWindow(pid, "Lirabox", false); }
    // The one-line window is the program's small owned window of that name.
    XWindow oneLineWindow(pid_t pid) { return waitForWindow(pid, "Lirabox", true); }

    InstalledPlayer mInstall;
};

TEST_F(OneLineEndToEnd, AlwaysOnTopFromEitherMenuHoldsAcrossViewsAndTheWindowDragsExactly) {
    const pid_t pid = mInstall.start();
    const XWindow main = mainWindow(pid);
    ASSERT_NE(main, 0u);
    ASSERT_FALSE(isAbove(main));

    chooseFromMenuBar(pid, main, 2);  // 表示 > 常に手前に表示
    EXPECT_TRUE(waitUntil([&] { return isAbove(main); }));
    chooseFromMenuBar(pid, main, 2);
    EXPECT_TRUE(waitUntil([&] { return !isAbove(main); }));

    pressKeys(main, "ctrl+alt+Return");
    pressKeys(main, "Return");
    const auto views = waitStable([&] { return std::pair(isMapped(main), findWindow(pid, "Lirabox", true)); }, 500ms);
    ASSERT_TRUE(views);
    EXPECT_TRUE(views->first);
    EXPECT_EQ(views->second, 0u);

    pressKeys(main, "alt+Return");
    const XWindow oneLine = oneLineWindow(pid);
    ASSERT_NE(oneLine, 0u);
    EXPECT_TRUE(waitUntil([&] { return !isMapped(main); }));
    EXPECT_FALSE(isAbove(oneLine));

    openPopup(pid, oneLine, 40, 8);
    keys("Down Down Return");  // 常に手前に表示
    EXPECT_TRUE(waitUntil([&] { return isAbove(oneLine); })) << "the one-line window did not follow at once";

    // A drag moves the window by exactly the pointer's way; a move without a button does not.
    activate(oneLine);
    const Spot before = clientPlace(oneLine);
    commandOutput("xdotool mousemove --window " + std::to_string(oneLine) +
                  " 60 8 mousedown 1 sleep 0.1 mousemove_relative -- 37 23 sleep 0.1 mousemove_relative -- 100 50"
                  " sleep 0.1 mousemove_relative -- 7 -3 sleep 0.2 mouseup 1");
    Spot after;
    EXPECT_TRUE(waitUntil([&] {
        after = clientPlace(oneLine);
        return after.x == before.x + 144 && after.y == before.y + 70;
    })) << "moved by "
        << after.x - before.x << ", " << after.y - before.y;
    commandOutput("xdotool mousemove_relative -- 40 40");
    const std::optional<Spot> resting = waitStable([&] { return clientPlace(oneLine); }, 500ms);
    ASSERT_TRUE(resting);
    EXPECT_EQ(resting->x, after.x);
    EXPECT_EQ(resting->y, after.y);

    pressKeys(oneLine, "ctrl+alt+Return");
    EXPECT_EQ(waitStable([&] { return isMapped(main); }, 500ms), std::optional(false));
    pressKeys(oneLine, "alt+Return");
    EXPECT_TRUE(waitUntil([&] { return isMapped(main); }));
    EXPECT_TRUE(waitUntil([&] { return findWindow(pid, "Lirabox", true) == 0; }));
    EXPECT_TRUE(waitUntil([&] { return isAbove(main); })) << "the state was lost on the way back";

    pressKeys(main, "ctrl+q");
    EXPECT_EQ(mInstall.waitForExit(pid), 0);
}

// A picture of the window taken later differs from the first: its text moves on.
bool windowChanges(XWindow window, const fs::path& first, const fs::path& second) {
    const auto grab = [&](const fs::path& file) {
        const Spot place = clientPlace(window);
        const WindowGeometry size = geometry(window);
        commandOutput(std::string(LIRABOX_SCREEN_GRAB) + " " + file.string() + " " + std::to_string(place.x) + " " +
                      std::to_string(place.y) + " " + std::to_string(size.width) + " " + std::to_string(size.height));
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = grab(first);
    return !before.empty() && waitUntil([&] { return grab(second) != before; }, 10s);
}

// The playing rate over the last `span` seconds of the program's SetTime
// calls, by their own clock; nothing while they span less.
std::optional<double> recentRate(const std::vector<InstalledPlayer::PublishedCall>& calls, double span) {
    if (calls.empty()) return std::nullopt;
    const InstalledPlayer::PublishedCall& last = calls.back();
    for (auto call = calls.rbegin(); call != calls.rend(); ++call) {
        const double seconds = static_cast<double>(last.stamp - call->stamp) / 1e9;
        if (seconds >= span) return (last.seconds - call->seconds) / seconds;
    }
    return std::nullopt;
}

TEST_F(OneLineEndToEnd, TheOneLineWindowFollowsPlaybackAt2xTheGlobalKeysWorkAndItsQuitSaves) {
    mInstall.writeFile("config.ini", shortcutRow(2, 2, kF7, 1) + shortcutRow(5, 5, kF8, 1));
    mInstall.writeFile("UserCfg.ini", "[Config]\nRewind=100\n");
    const fs::path recording = mInstall.scratch("hearing.wav");
    writeSineWav(recording, 600, 440, 8000, 1);
    const pid_t pid = mInstall.start({recording.string() + "/t=200"});
    const XWindow main = mainWindow(pid);
    ASSERT_NE(main, 0u);
    ASSERT_TRUE(waitUntil([&] { return mInstall.position().has_value(); }));

    pressKeys(main, "alt+Return");
    const XWindow oneLine = oneLineWindow(pid);
    ASSERT_NE(oneLine, 0u);
    ASSERT_TRUE(waitUntil([&] { return !isMapped(main); }));

    OtherClient other;
    ASSERT_TRUE(other.takeFocus());
    for (int i = 0; i < 10; ++i) xdotool("key F7");  // ten steps of 0.1 up: 2x
    other.pressesBeforeMarker();
    // The keys take effect one by one: the rate over the latest two seconds
    // of calls reaches 2x once the last has.
    std::optional<double> rate;
    EXPECT_TRUE(waitUntil(
        [&] {
            rate = recentRate(mInstall.publishedCalls(), 2.0);
            return rate && std::abs(*rate - 2.0) <= 0.25;
        },
        20s))
        << "the rate stays at " << rate.value_or(0);
    const Spot placed = clientPlace(oneLine);
    moveWindow(oneLine, 20, 20);  // clear of the other client's window
    EXPECT_TRUE(waitUntil([&] { return !(clientPlace(oneLine) == placed); }, 10s)) << "the window does not move";
    EXPECT_TRUE(windowChanges(oneLine, mInstall.scratch("a.png"), mInstall.scratch("b.png")))
        << "the one-line window does not show the position moving";

    const double before = *mInstall.position();
    xdotool("key F8");
    EXPECT_TRUE(waitUntil([&] { return *mInstall.position() < before - 80; }))
        << "position " << *mInstall.position() << ", before " << before;

    // 終了 in the popup: the one-line window, then the main window, and the normal shut-down.
    fs::remove(mInstall.folder() / "position.ini");
    openPopup(pid, oneLine, 40, 8);
    keys("Down Down Down Return");
    EXPECT_EQ(mInstall.waitForExit(pid), 0);
    EXPECT_NE(mInstall.readFile("position.ini").find("[Volume]"), std::string::npos);
}

TEST_F(OneLineEndToEnd, HelpWithoutAGuideAndTheVersionShowTheirMessages) {
    const pid_t pid = mInstall.start();
    const XWindow main = mainWindow(pid);
    ASSERT_NE(main, 0u);

    chooseFromMenuBar(pid, main, 3);  // ヘルプ > 目次
    const XWindow missing = waitForWindow(pid, "Lirabox", true);
    ASSERT_NE(missing, 0u) << "no message for the missing help file";
    pressKeys(missing, "Return");
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "Lirabox", true) == 0; }));

    chooseFromMenuBar(pid, main, 3, 1);  // ヘルプ > バージョン情報
    const XWindow version = waitForWindow(pid, "バージョン情報", true);
    ASSERT_NE(version, 0u);
    pressKeys(version, "Return");
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "バージョン情報", true) == 0; }));

    pressKeys(main, "ctrl+q");
    EXPECT_EQ(mInstall.waitForExit(pid), 0);
}

}  // namespace
}  // namespace lirabox::test
