// The real program on a real X display with a window manager, driven with
// the mouse and the keyboard like a user would, playing generated recordings
// through the real engine.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "PlayerWindow.h"
#include "support/clsIniFile.h"
#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Recordings.h"

namespace {

namespace fs = std::filesystem;
using namespace lirabox::test;

// The volume bar and its arrow, in twips.
constexpr double kVolumeBarLeft = 1440, kVolumeBarWidth = 1830, kVolumeArrowY = 900 + 45 + 67;

std::string iniValue(const fs::path& folder, const std::string& file, const std::string& section,
                     const std::string& key) {
    lirabox::clsIniFile ini;
    ini.setFilePath(folder.string());
    ini.setFileName(file);
    ini.setNothingWrite(false);
    return ini.ReadString(section, key, "(missing)");
}

class EndToEnd : public ::testing::Test {
protected:
    XWindow waitForMainWindow(pid_t pid) { return waitForWindow(pid, "Lirabox", false); }
    XWindow waitForMessage(pid_t pid) { return waitForWindow(pid, "Lirabox", true); }

    // Waits until no position has been published for a while; the count then.
    // The number of calls once none has come for a while; nothing when they go on.
    std::optional<std::size_t> callsOnceSilent() {
        return waitStable([&] { return mInstall.publishedPositions().size(); }, std::chrono::milliseconds(2500));
    }

    void quit(pid_t pid, XWindow window) {
        pressKeys(window, "ctrl+q");
        EXPECT_EQ(mInstall.waitForExit(pid), 0) << mInstall.output();
    }

    InstalledPlayer mInstall;
};

TEST_F(EndToEnd, PlaysFromTheGivenSecondAndPublishesThePositionWhilePlayingAndOnceWhereItStops) {
    const fs::path recording = mInstall.scratch("long talk.wav");
    writeSineWav(recording, 120, 440, 8000, 1);
    const pid_t pid = mInstall.start({recording.string() + "/t=90"});
    const XWindow window = waitForMainWindow(pid);
    ASSERT_NE(window, 0u);
    const PlayerWindow layout = PlayerWindow::of(window);

    ASSERT_TRUE(waitUntil([&] { return mInstall.publishedPositions().size() >= 10; }));
    std::vector<double> positions = mInstall.publishedPositions();
    EXPECT_GE(positions.front(), 90.0);
    EXPECT_LT(positions.front(), 120.0);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_GT(positions.back(), positions.front());

    // Pause with the play button: the calls end.
    layout.clickPlay();
    const std::optional<std::size_t> silent = callsOnceSilent();
    ASSERT_TRUE(silent) << "the calls go on after the pause";
    const std::size_t paused = *silent;
    const double pausedAt = mInstall.publishedPositions().back();

    // Play again: the calls come back, one second earlier than the pause.
    layout.clickPlay();
    ASSERT_TRUE(waitUntil([&] { return mInstall.publishedPositions().size() >= paused + 5; }));
    positions = mInstall.publishedPositions();
    EXPECT_GE(positions[paused], pausedAt - 1.0 - 1e-3);
    EXPECT_GT(positions.back(), positions[paused]);

    // Stop: the calls end again, the last one with the 0 the window shows.
    layout.clickStop();
    EXPECT_TRUE(callsOnceSilent()) << "the calls go on after the stop";
    EXPECT_EQ(mInstall.publishedPositions().back(), 0.0);

    quit(pid, window);
}

enum class Broken { Missing, Empty, Corrupt };

class BrokenRecording : public EndToEnd, public ::testing::WithParamInterface<Broken> {
protected:
    fs::path brokenFile() {
        switch (GetParam()) {
        case Broken::Missing: return mInstall.scratch("missing.wav");
        case Broken::Empty: {
            const fs::path path = mInstall.scratch("empty.wav");
            std::ofstream(path).close();
            return path;
        }
        case Broken::Corrupt: {
            const fs::path path = mInstall.scratch("noise.mp3");
            std::mt19937 random(7);
            std::ofstream out(path, std::ios::binary);
            for (int i = 0; i < 64 * 1024; ++i) out.put(static_cast<char>(random() & 0xff));
            return path;
        }
        }
        return {};
    }
};

TEST_P(BrokenRecording, OnTheCommandLineShowsTheErrorAndTheNextFilePlays) {
    const fs::path good = mInstall.scratch("good.wav");
    writeSineWav(good, 20, 440, 8000, 1);
    const pid_t pid = mInstall.start({brokenFile().string()});

    const XWindow box = waitForMessage(pid);
    ASSERT_NE(box, 0u) << "no error message";
    pressKeys(box, "Return");
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "Lirabox", true) == 0; }));
    const XWindow window = waitForMainWindow(pid);
    ASSERT_NE(window, 0u) << "the player did not stay up";
    EXPECT_TRUE(mInstall.publishedPositions().empty());

    // Open the good file through the Open dialog and play it.
    pressKeys(window, "ctrl+o");
    XWindow dialog = 0;
    ASSERT_TRUE(waitUntil([&] { return (dialog = findWindow(pid, "サウンドファイルの指定", true)) != 0; }));
    typeText(dialog, good.string());
    pressKeys(dialog, "Return");
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "サウンドファイルの指定", true) == 0; }));
    // A loaded recording tells Timepost its position once; a click before that
    // would reach a window still waiting for the load.
    ASSERT_TRUE(waitUntil([&] { return !mInstall.publishedPositions().empty(); })) << "the good file did not load";
    const PlayerWindow layout = PlayerWindow::of(window);
    layout.clickPlay();
    EXPECT_TRUE(waitUntil([&] { return mInstall.publishedPositions().size() >= 5; }));

    quit(pid, window);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BrokenRecording, ::testing::Values(Broken::Missing, Broken::Empty, Broken::Corrupt),
                         [](const ::testing::TestParamInfo<Broken>& kind) {
                             switch (kind.param) {
                             case Broken::Missing: return "Missing";
                             case Broken::Empty: return "Empty";
                             case Broken::Corrupt: return "Corrupt";
                             }
                             return "";
                         });

// With resuming on (as the settings dialog stores it), a recording played to
// 15 s and quit starts there again; a start second on the command line wins.
// The go-to-time dialog (Ctrl+G) moves a two-hour recording to 1:02:03 and
// refuses "abc" with a message, moving nothing.
TEST_F(EndToEnd, ResumesWhereTheRecordingWasLeftAndGoesToATimeTyped) {
    mInstall.writeFile("UserCfg.ini", "[Config]\nResume=1\n");
    const fs::path recording = mInstall.scratch("two hours.wav");
    writeSineWav(recording, 7200, 440, 2000, 1);
    const auto lastPosition = [&] { return mInstall.position().value_or(-1); };

    pid_t pid = mInstall.start({recording.string() + "/t=15"});
    XWindow window = waitForMainWindow(pid);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(waitUntil([&] { return lastPosition() >= 15; }));
    quit(pid, window);
    const std::size_t before = mInstall.publishedPositions().size();
    pid = mInstall.start({recording.string()});
    window = waitForMainWindow(pid);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(waitUntil([&] { return mInstall.publishedPositions().size() > before; }));
    const double resumed = mInstall.publishedPositions()[before];
    EXPECT_GE(resumed, 15);
    EXPECT_LT(resumed, 18);

    const auto goTo = [&](const std::string& text) {
        pressKeys(window, "ctrl+g");
        XWindow dialog = 0;
        EXPECT_TRUE(waitUntil([&] { return (dialog = findWindow(pid, "指定時間へ移動…", true)) != 0; }));
        pressKeys(dialog, "ctrl+a");
        typeText(dialog, text);
        pressKeys(dialog, "Return");
        return dialog;
    };
    goTo("1:02:03");
    EXPECT_TRUE(waitUntil([&] { return lastPosition() >= 3723 && lastPosition() < 3726; })) << lastPosition();

    goTo("abc");
    const XWindow message = waitForMessage(pid);
    ASSERT_NE(message, 0u) << "no message for abc";
    const double atMessage = lastPosition();
    pressKeys(message, "Return");
    XWindow again = 0;
    ASSERT_TRUE(waitUntil([&] { return (again = findWindow(pid, "指定時間へ移動…", true)) != 0; }));
    pressKeys(again, "Escape");
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "指定時間へ移動…", true) == 0; }));
    EXPECT_GE(lastPosition(), atMessage);
    EXPECT_LT(lastPosition(), atMessage + 3);
    quit(pid, window);
}

TEST_F(EndToEnd, ASecondInstanceIsRefusedAndTheFirstRunsOn) {
    const pid_t first = mInstall.start();
    const XWindow window = waitForMainWindow(first);
    ASSERT_NE(window, 0u);

    const pid_t second = mInstall.start();
    const XWindow box = waitForMessage(second);
    ASSERT_NE(box, 0u) << "no message from the second instance";
    EXPECT_TRUE(mInstall.running(second));  // it waits for the message to go
    pressKeys(box, "Return");
    EXPECT_EQ(mInstall.waitForExit(second), 1);

    EXPECT_TRUE(mInstall.running(first));
    // Right after the message goes, the window manager may still be passing
    // the focus on: the first copy's window is looked for until it is seen.
    EXPECT_TRUE(waitUntil([&] { return findWindow(first, "Lirabox", false) == window; }));
    quit(first, window);
}

// Opening a recording from the file manager while the player runs: the
// second start hands it to the running copy, which plays it from its start
// second and comes to the front, and ends without a message.
TEST_F(EndToEnd, ASecondStartWithARecordingHandsItToTheRunningCopy) {
    const fs::path playing = mInstall.scratch("b.wav");
    writeSineWav(playing, 30, 440, 8000, 1);
    const fs::path next = mInstall.scratch("a.wav");
    writeSineWav(next, 60, 440, 8000, 1);
    const pid_t first = mInstall.start({playing.string()});
    const XWindow window = waitForMainWindow(first);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(waitUntil([&] { return mInstall.position().value_or(0) > 0; }));
    commandOutput("xdotool windowminimize --sync " + std::to_string(window));

    const pid_t second = mInstall.start({next.string() + "/t=40"});
    EXPECT_EQ(mInstall.waitForExit(second), 0) << mInstall.output();
    ASSERT_TRUE(waitUntil([&] { return mInstall.position().value_or(0) >= 40; })) << "the running copy did not play it";
    EXPECT_TRUE(waitUntil([&] { return commandOutput("xdotool getactivewindow") == std::to_string(window) + "\n"; }))
        << "the window did not come to the front";
    EXPECT_EQ(findWindow(first, "Lirabox", true), 0u) << "a message showed";
    quit(first, window);
}

TEST_F(EndToEnd, AFirstStartWritesTheDefaultsAndTheVolumeSurvivesARestart) {
    pid_t pid = mInstall.start();
    XWindow window = waitForMainWindow(pid);
    ASSERT_NE(window, 0u);
    const fs::path folder = mInstall.folder();
    EXPECT_EQ(iniValue(folder, "UserCfg.ini", "Config", "Rewind"), "2");
    EXPECT_EQ(iniValue(folder, "UserCfg.ini", "Config", "Forward"), "2");
    EXPECT_EQ(iniValue(folder, "UserCfg.ini", "Config", "Autorev"), "1");
    EXPECT_EQ(iniValue(folder, "position.ini", "Volume", "value"), "2500");
    EXPECT_EQ(iniValue(mInstall.configFolder(), "Lirabox.ini", "config", "AppName"), (folder / "lirabox").string());

    // Drag the volume arrow from the middle of its bar to a fifth of it: the
    // arrow's middle follows the pointer, its left edge gives the value,
    // (1830 / 5 - 67.5) / 1830 x 5000 = 816, within a pixel (41).
    const PlayerWindow layout = PlayerWindow::of(window);
    drag(window,
         layout.x(kVolumeBarLeft + kVolumeBarWidth / 2),
         layout.y(kVolumeArrowY),
         layout.x(kVolumeBarLeft + kVolumeBarWidth / 5),
         layout.y(kVolumeArrowY));
    quit(pid, window);
    const int saved = std::stoi(iniValue(folder, "position.ini", "Volume", "value"));
    EXPECT_NEAR(saved, 816, 90);

    pid = mInstall.start();
    window = waitForMainWindow(pid);
    ASSERT_NE(window, 0u);
    quit(pid, window);
    EXPECT_EQ(iniValue(folder, "position.ini", "Volume", "value"), std::to_string(saved));
}

TEST_F(EndToEnd, TheOpenDialogLeavesNoSettingsFileOfQts) {
    const pid_t pid = mInstall.start();
    const XWindow window = waitForMainWindow(pid);
    ASSERT_NE(window, 0u);
    pressKeys(window, "ctrl+o");
    const XWindow dialog = waitForWindow(pid, "サウンドファイルの指定", true);
    ASSERT_NE(dialog, 0u);
    pressKeys(dialog, "Escape");
    ASSERT_TRUE(waitUntil([&] { return findWindow(pid, "サウンドファイルの指定", true) == 0; }));
    quit(pid, window);
    EXPECT_FALSE(fs::exists(mInstall.configFolder() / "QtProject.conf"));
    for (const auto& entry : fs::recursive_directory_iterator(mInstall.configFolder())) {
        EXPECT_NE(entry.path().extension(), ".conf") << entry.path();
    }
}

TEST_F(EndToEnd, VerboseTellsWhichStartUpStepACorruptSettingSkippedAndWhyQuietOtherwise) {
    mInstall.writeFile("UserCfg.ini", "[Config]\nRewind=abc\n");
    for (const bool verbose : {false, true}) {
        const pid_t pid = verbose ? mInstall.start({"--verbose"}) : mInstall.start();
        const XWindow window = waitForMainWindow(pid);
        ASSERT_NE(window, 0u) << mInstall.output();
        quit(pid, window);
        // The output gathers both runs: nothing is traced until --verbose.
        EXPECT_EQ(mInstall.output().find("skipped") != std::string::npos, verbose) << mInstall.output();
    }
    const std::string output = mInstall.output();
    EXPECT_NE(output.find("skipped in bool lirabox::frmMain::Form_Load"), std::string::npos) << output;
    EXPECT_NE(output.find("error 13: Type mismatch"), std::string::npos) << output;
}

// No sound server and an ALSA with no device, whatever the machine has: the
// engine plays silently and the terminal hears nothing of the sound libraries
// looking for an output, unless the run is verbose.
TEST_F(EndToEnd, WithoutASoundDeviceTheSoundLibrariesSpeakOnlyUnderVerbose) {
    const fs::path alsaConfig = mInstall.scratch("asound.conf");
    std::ofstream(alsaConfig) << "# no device at all\n";
    ::setenv("ALSA_CONFIG_PATH", alsaConfig.c_str(), 1);
    ::setenv("PULSE_SERVER", ("unix:" + mInstall.scratch("no-pulse").string()).c_str(), 1);
    ::setenv("PIPEWIRE_REMOTE", mInstall.scratch("no-pipewire").c_str(), 1);
    ::unsetenv("PIPEWIRE_DEBUG");
    const fs::path recording = mInstall.scratch("talk.wav");
    writeSineWav(recording, 30, 440, 8000, 1);
    for (const bool verbose : {false, true}) {
        const std::size_t before = mInstall.publishedPositions().size();
        const pid_t pid =
            verbose ? mInstall.start({"--verbose", recording.string()}) : mInstall.start({recording.string()});
        const XWindow window = waitForMainWindow(pid);
        ASSERT_NE(window, 0u) << mInstall.output();
        // Playing: the output was looked for and the silent one taken.
        ASSERT_TRUE(waitUntil([&] { return mInstall.publishedPositions().size() >= before + 5; })) << mInstall.output();
        quit(pid, window);
        // The output gathers both runs.
        if (!verbose) {
            EXPECT_EQ(mInstall.output(), "");
        }
    }
    EXPECT_NE(mInstall.output().find("ALSA lib"), std::string::npos) << mInstall.output();
}

TEST_F(EndToEnd, HelpAndVersionArePrintedWithoutAWindow) {
    const std::string program = mInstall.program().string();
    EXPECT_NE(commandOutput(program + " --help").find("Usage: lirabox [RECORDING[/t=SECONDS]]"), std::string::npos);
    EXPECT_EQ(commandOutput(program + " -h"), commandOutput(program + " --help"));
    EXPECT_EQ(commandOutput(program + " --version"), "lirabox " LIRABOX_VERSION "\n");
}

}  // namespace
