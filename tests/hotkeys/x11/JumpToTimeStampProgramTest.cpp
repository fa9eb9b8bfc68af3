// The installed program moves to the time stamp selected in another program
// when the jump key (row 9, Ctrl+F9, swallowed) is pressed: the X PRIMARY
// selection is owned by xclip, as an editor would own it, while another
// client holds the focus and must not see the key. A selection without a
// time stamp moves nothing.

#include "OtherClient.h"
#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"
#include "tests/hotkeys/ShortcutRows.h"

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

namespace lirabox::test {
namespace {

constexpr int kF9 = 120;
constexpr int kF10 = 121;
constexpr int kCtrl = 2;

void select(const std::string& text) {
    const std::string command = "printf %s '" + text + "' | xclip -selection primary -i";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Whether a position published after the first `from` went back by more than `seconds`.
bool wentBack(const InstalledPlayer& player, std::size_t from, double seconds) {
    const std::vector<double> positions = player.publishedPositions();
    for (std::size_t i = std::max<std::size_t>(from, 1); i < positions.size(); ++i) {
        if (positions[i] < positions[i - 1] - seconds) return true;
    }
    return false;
}

std::string positionsText(const InstalledPlayer& player, std::size_t from) {
    std::string text;
    const std::vector<double> positions = player.publishedPositions();
    for (std::size_t i = from; i < positions.size(); ++i) text += std::to_string(positions[i]) + " ";
    return text;
}

TEST(ThePlayerProgram, JumpsToTheTimeStampSelectedInAnotherProgram) {
    InstalledPlayer player;
    player.writeFile("config.ini", shortcutRow(9, 9, kF9, 1, kCtrl) + shortcutRow(5, 5, kF10, 1, kCtrl));
    const auto recording = player.scratch("interview.wav");
    writeSineWav(recording, 300, 440.0, 8000, 1);
    OtherClient client;
    const pid_t pid = player.start({recording.string() + "/t=100"});
    ASSERT_TRUE(waitUntil([&] { return player.position().value_or(0) >= 100; })) << player.output();
    // The sound starts before the window and the keys are set up.
    ASSERT_NE(waitForWindow(pid, "Lirabox", false), 0u);
    ASSERT_TRUE(client.takeFocus());
    client.pressesBeforeMarker();

    select("said so [00:00:42] and");
    xdotool("key ctrl+F9");
    ASSERT_TRUE(waitUntil([&] { return player.position().value_or(100) < 50; })) << player.output();
    EXPECT_GE(player.position().value_or(0), 42);
    // The user's Ctrl reaches the focused client; the swallowed F9 does not.
    EXPECT_EQ(client.pressesBeforeMarker(), std::vector<XId> {XK_Control_L});

    // Nothing to jump to: the rewind pressed after it runs, and nothing else moved.
    select("no time here");
    const std::size_t published = player.publishedPositions().size();
    xdotool("key ctrl+F9");
    xdotool("key ctrl+F10");
    ASSERT_TRUE(waitUntil([&] { return wentBack(player, published, 1); })) << positionsText(player, published);
    EXPECT_FALSE(wentBack(player, published, 3));
    const std::vector<double> positions = player.publishedPositions();
    for (std::size_t i = published; i < positions.size(); ++i) EXPECT_LT(positions[i], 60) << i;
    EXPECT_EQ(client.pressesBeforeMarker(), (std::vector<XId> {XK_Control_L, XK_Control_L}));
}

}  // namespace
}  // namespace lirabox::test
