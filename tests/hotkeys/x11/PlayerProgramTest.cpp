// The installed program on a private X server: its first start, the
// fast-forward key while another program has the focus, and a missing
// libkeytap.so. The real engine plays generated recordings; the position is
// the last one handed to Timepost.

#include "OtherClient.h"
#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Recordings.h"
#include "tests/hotkeys/ShortcutRows.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <thread>

namespace lirabox::test {
namespace {

constexpr int kF3 = 114;
constexpr int kF6 = 117;

// A long recording: a fast-forward of 100 s cannot be mistaken for playback.
std::string longRecording(const InstalledPlayer& player) {
    const auto path = player.scratch("interview.wav");
    writeSineWav(path, 300, 440.0, 8000, 1);
    return path.string();
}

std::string shortRecording(const InstalledPlayer& player) {
    const auto path = player.scratch("note.wav");
    writeSineWav(path, 30, 440.0, 8000, 1);
    return path.string();
}

// Starts the program on the recording and waits until it plays.
void startPlaying(InstalledPlayer& player, const std::string& recording, pid_t& pid) {
    pid = player.start({recording});
    ASSERT_NE(waitForWindow(pid, "Lirabox", false), 0u) << player.output();
    ASSERT_TRUE(waitUntil([&] { return player.position().has_value(); })) << player.output();
}

TEST(ThePlayerProgram, FirstStartWritesTheEightShortcutRowsWithTheirDefaults) {
    InstalledPlayer player;
    // Playing the recording from the command line is the start-up's last step.
    pid_t pid = 0;
    startPlaying(player, shortRecording(player), pid);

    std::string expected;
    for (int index = 0; index < 8; ++index) expected += shortcutRow(index, -1, 0, 0);
    EXPECT_EQ(player.readFile("config.ini"), expected);
}

class FastForwardKey : public ::testing::TestWithParam<int> {};

TEST_P(FastForwardKey, RunsOnceWhileAnotherProgramHasTheFocusAndReachesItOnlyWhenNotDiscarded) {
    const int keyDestroy = GetParam();
    InstalledPlayer player;
    player.writeFile("config.ini", shortcutRow(4, 4, kF6, keyDestroy));
    player.writeFile("UserCfg.ini", "[Config]\nForward=100\n");
    pid_t pid = 0;
    startPlaying(player, longRecording(player), pid);
    OtherClient other;
    ASSERT_TRUE(other.takeFocus());
    const double before = *player.position();
    ASSERT_LT(before, 60);

    xdotool("key F6");
    EXPECT_TRUE(waitUntil([&] { return *player.position() >= before + 100; }))
        << "position " << *player.position() << ", before " << before;
    const std::vector<XId> presses = other.pressesBeforeMarker();
    if (keyDestroy != 0) {
        EXPECT_EQ(presses, std::vector<XId> {});
    } else {
        EXPECT_EQ(presses, std::vector<XId> {XK_F6});
    }
    EXPECT_LT(*player.position(), before + 200);  // one fast-forward, not two
}

INSTANTIATE_TEST_SUITE_P(KeyDestroy, FastForwardKey, ::testing::Values(1, 0));

// F3 rewinds and is passed on, F6 fast-forwards and is swallowed.
TEST(ThePlayerProgram, AStoppedPlayerHoldsNobodysKeyboardAndAHeldPassedOnKeyRepeats) {
    InstalledPlayer player;
    player.writeFile("config.ini", shortcutRow(4, 4, kF6, 1) + shortcutRow(5, 5, kF3, 0));
    player.writeFile("UserCfg.ini", "[Config]\nForward=100\nRewind=5\nAutorev=0\n");
    pid_t pid = 0;
    startPlaying(player, longRecording(player), pid);
    OtherClient other;
    ASSERT_TRUE(other.takeFocus());

    ASSERT_EQ(::kill(pid, SIGSTOP), 0);
    const auto typed = std::chrono::steady_clock::now();
    xdotool("key F3 a F6 b");
    const std::vector<XId> whileStopped = other.pressesBeforeMarker();
    const auto waited = std::chrono::steady_clock::now() - typed;
    ASSERT_EQ(::kill(pid, SIGCONT), 0);
    EXPECT_EQ(whileStopped, (std::vector<XId> {XK_F3, XK_a, XK_b}));
    EXPECT_LT(waited, std::chrono::seconds(5));

    // The keys pressed meanwhile run their commands once the player runs again.
    ASSERT_TRUE(waitUntil([&] { return *player.position() >= 90; })) << *player.position();
    const double resumed = *player.position();
    xdotool("key F6");
    ASSERT_TRUE(waitUntil([&] { return *player.position() >= resumed + 90; })) << *player.position();
    const double forwarded = *player.position();
    xdotool("key F3");
    EXPECT_TRUE(waitUntil([&] { return *player.position() <= forwarded - 3; })) << *player.position();
    EXPECT_EQ(other.pressesBeforeMarker(), (std::vector<XId> {XK_F3}));

    // Held down, F3 rewinds again and again, and the editor gets its own repeats.
    XAutoRepeatOn(other.display());
    XSync(other.display(), False);
    const double held = *player.position();
    xdotool("keydown F3");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    xdotool("keyup F3");
    const std::vector<XId> repeats = other.pressesBeforeMarker();
    XAutoRepeatOff(other.display());
    XSync(other.display(), False);
    EXPECT_GE(std::count(repeats.begin(), repeats.end(), XK_F3), 3);
    EXPECT_TRUE(waitUntil([&] { return *player.position() <= held - 15; }))
        << "from " << held << " to " << *player.position();
}

TEST(ThePlayerProgram, WithoutKeytapItPlaysOnAndSaysSoInOneLine) {
    InstalledPlayer player(false);
    player.writeFile("config.ini", shortcutRow(4, 4, kF6, 1));
    pid_t pid = 0;
    startPlaying(player, shortRecording(player), pid);
    OtherClient other;
    ASSERT_TRUE(other.takeFocus());

    xdotool("key F6");
    EXPECT_EQ(other.pressesBeforeMarker(), std::vector<XId> {XK_F6});
    EXPECT_TRUE(player.running(pid));

    std::istringstream output(player.output());
    std::vector<std::string> said;
    for (std::string line; std::getline(output, line);) {
        if (line.find("libkeytap.so") != std::string::npos) said.push_back(line);
    }
    ASSERT_EQ(said.size(), 1u) << player.output();
    EXPECT_NE(said.front().find("shortcut keys are off"), std::string::npos) << said.front();
}

}  // namespace
}  // namespace lirabox::test
