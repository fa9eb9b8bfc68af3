// The real program as a native Wayland client of a headless weston, its
// global keys bound through the real xdg-desktop-portal frontend to the
// tests' portal backend, which plays the desktop: it presses and releases the
// bound shortcuts. What the player does is read on its media-player interface
// (MPRIS) and from the positions it hands Timepost. Commands also come from
// `lirabox --command` in another process.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <sys/wait.h>

#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"
#include "tests/common/TestPortal.h"
#include "tests/common/Weston.h"
#include "tests/hotkeys/ShortcutRows.h"

namespace {

namespace fs = std::filesystem;
using namespace lirabox::test;

std::string mpris(const std::string& property) {
    return commandOutput(
        "timeout 10 gdbus call --session --dest org.mpris.MediaPlayer2.lirabox --object-path /org/mpris/MediaPlayer2 "
        "--method org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player " +
        property);
}

std::string status() {
    const std::string reply = mpris("PlaybackStatus");
    for (const char* state : {"Playing", "Paused", "Stopped"}) {
        if (reply.find(state) != std::string::npos) return state;
    }
    return reply;
}

// Seconds.
double position() {
    const std::string reply = mpris("Position");
    const auto number = reply.find("int64 ");
    return number == std::string::npos ? -1 : std::stod(reply.substr(number + 6)) / 1e6;
}

double rate() {
    const std::string reply = mpris("Rate");
    const auto number = reply.find('<');
    return number == std::string::npos ? -1 : std::stod(reply.substr(number + 1));
}

class WaylandPortal : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(weston.socket())) << "weston did not start";
        weston.useForPrograms();
        recording = player.scratch("long talk.wav");
        writeSineWav(recording, 120, 440, 8000, 1);
        // Forward and rewind by 5 s; no step back when playing starts.
        player.writeFile("UserCfg.ini", "[Config]\nRewind=5\nForward=5\nAutorev=0\n");
    }

    // Starts the player on the recording and waits until it plays.
    void startPlaying() {
        pid = player.start({recording.string()});
        ASSERT_TRUE(waitUntil([] { return status() == "Playing"; })) << player.output();
    }

    // The desktop presses the shortcut and lets it go at once.
    void tap(const std::string& id) {
        portal.press(id);
        portal.release(id);
    }

    Weston weston;
    InstalledPlayer player;
    fs::path recording;
    pid_t pid = 0;
    TestPortal portal;
};

TEST_F(WaylandPortal, EveryRowIsBoundWithItsKeyAndEachActivationRunsItsCommand) {
    ASSERT_TRUE(portal.running());
    player.writeFile("config.ini", shortcutRow(0, 0, 120, 0) + shortcutRow(4, 4, 116, 1, 3));  // F9; Ctrl+Shift+F5
    startPlaying();
    ASSERT_TRUE(waitUntil([&] { return portal.bound().find("timestamp|") != std::string::npos; })) << player.output();
    const std::string bound = portal.bound();
    EXPECT_NE(bound.find("play-pause|再生・一時停止|F9\n"), std::string::npos) << bound;
    EXPECT_NE(bound.find("forward|早送り|CTRL+SHIFT+F5\n"), std::string::npos) << bound;
    for (const char* id : {"stop|停止|\n", "faster|", "slower|", "rewind|", "repeat-start|", "repeat-end|"}) {
        EXPECT_NE(bound.find(id), std::string::npos) << id << " in " << bound;
    }

    tap("play-pause");
    ASSERT_TRUE(waitUntil([] { return status() == "Paused"; }));
    const double paused = position();
    tap("forward");
    EXPECT_TRUE(waitUntil([&] { return position() >= paused + 4.5; })) << position();
    tap("rewind");
    EXPECT_TRUE(waitUntil([&] { return position() <= paused + 0.5; })) << position();
    tap("faster");
    EXPECT_TRUE(waitUntil([] { return rate() > 1.05; })) << rate();
    tap("slower");
    EXPECT_TRUE(waitUntil([] { return rate() < 1.05; })) << rate();

    // A stretch from the repeat start to the repeat end plays again and again.
    tap("play-pause");
    ASSERT_TRUE(waitUntil([] { return status() == "Playing"; }));
    const double start = position();
    tap("repeat-start");
    ASSERT_TRUE(waitUntil([&] { return position() >= start + 2.5; }));
    tap("repeat-end");
    EXPECT_TRUE(waitUntil([&] { return position() < start + 1.5; })) << position();

    tap("stop");
    EXPECT_TRUE(waitUntil([] { return status() == "Stopped" && position() < 0.5; })) << status();
    tap("timestamp");  // nowhere to type it here; the player goes on
    EXPECT_TRUE(player.running(pid)) << player.output();
}

TEST_F(WaylandPortal, AHeldFastForwardRepeatsUntilTheDesktopLetsItGo) {
    startPlaying();
    ASSERT_TRUE(waitUntil([&] { return portal.binds() > 0; }));
    tap("play-pause");
    ASSERT_TRUE(waitUntil([] { return status() == "Paused"; }));
    const double before = position();
    portal.press("forward");
    ASSERT_TRUE(waitUntil([&] { return position() >= before + 14.5; })) << position();  // three steps at least
    portal.release("forward");
    // Once the next command has run, the steps have stopped.
    const double released = position();
    tap("faster");
    ASSERT_TRUE(waitUntil([] { return rate() > 1.05; }));
    tap("slower");
    ASSERT_TRUE(waitUntil([] { return rate() < 1.05; }));
    EXPECT_LE(position(), released + 5.5);
    EXPECT_EQ(status(), "Paused");
}

TEST_F(WaylandPortal, CommandsFromAnotherProcessReachTheRunningCopy) {
    startPlaying();
    const auto send = [&](const std::string& words) {
        return std::system(("\"" + player.program().string() + "\" --command " + words + " 2>&1").c_str());
    };
    EXPECT_EQ(send("goto 60"), 0);
    ASSERT_TRUE(waitUntil([] { return position() >= 59.5; })) << position();
    EXPECT_EQ(send("rewind"), 0);
    EXPECT_TRUE(waitUntil([] { return position() < 58; })) << position();
    EXPECT_EQ(send("play-pause"), 0);
    EXPECT_TRUE(waitUntil([] { return status() == "Paused"; }));
    EXPECT_EQ(WEXITSTATUS(send("goto later")), 2);
    // A name the bus cannot carry is refused before it is sent, in the user's language.
    const std::string program = "\"" + player.program().string() + "\" --command ";
    EXPECT_EQ(commandOutput("LANGUAGE=ja " + program + "open \"$(printf '/tmp/\\377.wav')\" 2>&1 | cat"),
              "lirabox: ファイル名が UTF-8 の文字列ではないので、送れません\n");

    ::kill(pid, SIGTERM);
    ASSERT_TRUE(player.waitForExit(pid).has_value());
    EXPECT_EQ(WEXITSTATUS(send("stop")), 1);
    EXPECT_EQ(commandOutput("LANGUAGE=en " + program + "stop 2>&1 | cat"),
              "lirabox: no running Lirabox took the command; start Lirabox first\n");
}

// The sending process must start in a few milliseconds: the program it runs
// links neither the toolkit nor the engine (the player's library does).
TEST(RemoteCommandSender, LoadsNeitherTheToolkitNorTheEngine) {
    const InstalledPlayer player;
    const std::string needed = commandOutput("readelf -d \"" + player.program().string() + "\" | grep NEEDED");
    EXPECT_NE(needed.find("libdbus-1.so"), std::string::npos) << needed;
    EXPECT_EQ(needed.find("Qt"), std::string::npos) << needed;
    EXPECT_EQ(needed.find("mpv"), std::string::npos) << needed;
}

// "[00:01:15] ", each character pressed and released.
std::string stampKeys() {
    std::string keys;
    for (const char character : std::string("[00:01:15] ")) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(character));
        keys += std::string("+") + hex + "\n-" + hex + "\n";
    }
    return keys;
}

TEST_F(WaylandPortal, TimeStampsArriveAsKeysymsThroughOneKeyboardSession) {
    startPlaying();
    const std::string program = "\"" + player.program().string() + "\" --command ";
    ASSERT_EQ(std::system((program + "play-pause").c_str()), 0);
    ASSERT_TRUE(waitUntil([] { return status() == "Paused"; }));
    ASSERT_EQ(std::system((program + "goto 75").c_str()), 0);
    ASSERT_TRUE(waitUntil([] { return position() > 74.9; }));

    tap("timestamp");
    EXPECT_TRUE(waitUntil([&] { return portal.keysyms() == stampKeys(); })) << portal.keysyms();
    ASSERT_EQ(std::system((program + "timestamp").c_str()), 0);
    EXPECT_TRUE(waitUntil([&] { return portal.keysyms() == stampKeys() + stampKeys(); })) << portal.keysyms();
    EXPECT_EQ(portal.keyboardSessions(), 1U);
}

// The frontend runs, but no backend answers for the shortcuts: the keys are
// off, said once, and the player plays on.
TEST(WaylandWithoutPortal, TheKeysAreOffWithTheReasonAndThePlayerPlaysOn) {
    Weston weston;
    ASSERT_TRUE(fs::exists(weston.socket())) << "weston did not start";
    weston.useForPrograms();
    InstalledPlayer player;
    const fs::path recording = player.scratch("talk.wav");
    writeSineWav(recording, 30, 440, 8000, 1);
    const pid_t pid = player.start({recording.string()});
    ASSERT_TRUE(waitUntil([&] { return player.output().find("shortcut keys are off") != std::string::npos; }))
        << player.output();
    EXPECT_TRUE(waitUntil([&] { return player.publishedPositions().size() >= 5; })) << player.output();
    EXPECT_EQ(status(), "Playing");
    // Nothing to type with: the stamp goes to the clipboard and the window says so.
    EXPECT_EQ(std::system(("\"" + player.program().string() + "\" --command timestamp").c_str()), 0);
    EXPECT_EQ(status(), "Playing");
    EXPECT_TRUE(player.running(pid)) << player.output();
}

}  // namespace
