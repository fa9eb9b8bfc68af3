// The real program in a Wayland session without X: a headless weston, no
// DISPLAY. Clicks cannot be sent there; the window's buttons and menus are
// driven in MainWindowTest on the offscreen platform.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/common/InstalledPlayer.h"
#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"
#include "tests/common/Weston.h"

namespace {

namespace fs = std::filesystem;
using namespace lirabox::test;

TEST(Wayland, WithoutXThePlayerPlaysToTheEndAndSaysOnceThatTheShortcutKeysAreOff) {
    Weston weston;
    ASSERT_TRUE(fs::exists(weston.socket())) << "weston did not start";
    weston.useForPrograms();

    InstalledPlayer player;
    // No session bus, so no desktop portal either.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + player.scratch("no-bus").string()).c_str(), 1);
    const fs::path recording = player.scratch("short talk.wav");
    writeSineWav(recording, 3.5, 440, 8000, 1);
    const pid_t pid = player.start({recording.string()});

    ASSERT_TRUE(waitUntil([&] { return player.publishedPositions().size() >= 5; })) << player.output();
    // Played on to the end, where the positions stop.
    ASSERT_TRUE(waitUntil([&] { return player.position().value_or(0) > 3.4; })) << player.output();
    EXPECT_TRUE(waitStable(
        [&] { return player.publishedPositions().size(); }, std::chrono::seconds(1), std::chrono::seconds(10)))
        << "the positions go on";
    const std::vector<double> positions = player.publishedPositions();
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));

    EXPECT_TRUE(player.running(pid)) << player.output();
    const std::string output = player.output();
    const std::string keysOff = "lirabox: the global shortcut keys are off";
    const auto first = output.find(keysOff);
    EXPECT_NE(first, std::string::npos) << output;
    EXPECT_EQ(output.find(keysOff, first + 1), std::string::npos) << output;
    EXPECT_NE(output.find("(there is no session bus to reach the desktop's shortcut portal on)"), std::string::npos)
        << output;
    EXPECT_EQ(output.find("platform plugin"), std::string::npos) << output;
}

// A Qt platform without any display (offscreen) in this X11 build: nothing
// that asks X for the window's frame or the keyboard may take the program down.
TEST(Wayland, WithNoDisplayAtAllThePlayerStillStartsAndPlays) {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::setenv("LIRABOX_TEST_PROGRAM_PLATFORM", "offscreen", 1);

    InstalledPlayer player;
    const fs::path recording = player.scratch("talk.wav");
    writeSineWav(recording, 3, 440, 8000, 1);
    const pid_t pid = player.start({recording.string()});
    EXPECT_TRUE(waitUntil([&] { return player.publishedPositions().size() >= 5; })) << player.output();
    EXPECT_TRUE(player.running(pid)) << player.output();
}

}  // namespace
