// The real program in a Wayland session without X: a headless weston, no
// DISPLAY. Clicks cannot be sent there; the window's buttons and menus are
// driven in MainWindowTest on the offscreen platform.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "tests/common/InstalledPlayer.h"
#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace lirabox::test;

// A headless weston of its own; WAYLAND_DISPLAY names its socket by full path.
class Weston {
public:
    Weston() {
        fs::permissions(mTemp.path(), fs::perms::owner_all, fs::perm_options::replace);
        ::setenv("XDG_RUNTIME_DIR", mTemp.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", mTemp.path().c_str(), 1);  // no weston.ini of the user's
        const char* argv[] = {"weston", "--backend=headless-backend.so", "--socket=wayland-test", "--idle-time=0",
                              nullptr};
        if (::posix_spawnp(&mPid, "weston", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) mPid = 0;
        waitUntil([&] { return fs::exists(socket()); });
    }
    ~Weston() {
        if (mPid <= 0) return;
        ::kill(mPid, SIGTERM);
        ::waitpid(mPid, nullptr, 0);
    }
    Weston(const Weston&) = delete;
    Weston& operator=(const Weston&) = delete;

    fs::path socket() const { return mTemp.path() / "wayland-test"; }

private:
    TempFolder mTemp;
    pid_t mPid = 0;
};

TEST(Wayland, WithoutXThePlayerPlaysToTheEndAndSaysOnceThatTheShortcutKeysAreOff) {
    Weston weston;
    ASSERT_TRUE(fs::exists(weston.socket())) << "weston did not start";
    ::unsetenv("DISPLAY");
    ::setenv("WAYLAND_DISPLAY", weston.socket().c_str(), 1);

    InstalledPlayer player;
    const fs::path recording = player.scratch("short talk.wav");
    writeSineWav(recording, 3.5, 440, 8000, 1);
    const pid_t pid = player.start({recording.string()});

    ASSERT_TRUE(waitUntil([&] { return player.publishedPositions().size() >= 5; })) << player.output();
    // Played on to the end, where the positions stop.
    ASSERT_TRUE(waitUntil([&] { return player.position().value_or(0) > 3.4; })) << player.output();
    EXPECT_TRUE(waitStable([&] { return player.publishedPositions().size(); }, std::chrono::seconds(1),
                           std::chrono::seconds(10)))
        << "the positions go on";
    const std::vector<double> positions = player.publishedPositions();
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));

    EXPECT_TRUE(player.running(pid)) << player.output();
    const std::string output = player.output();
    const std::string keysOff = "lirabox: the global shortcut keys are off";
    const auto first = output.find(keysOff);
    EXPECT_NE(first, std::string::npos) << output;
    EXPECT_EQ(output.find(keysOff, first + 1), std::string::npos) << output;
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
