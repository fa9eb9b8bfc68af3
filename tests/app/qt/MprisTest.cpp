// The real program on a private session bus, driven through the desktop's
// media-player interface with playerctl and gdbus as a media-key daemon or an
// applet would, playing a generated recording through the real engine.

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Recordings.h"
#include "tests/player/media/SlowOpen.h"

namespace {

namespace fs = std::filesystem;
using namespace lirabox::test;

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

std::string playerctl(const std::string& arguments) {
    return trimmed(commandOutput("timeout 10 playerctl -p lirabox " + arguments));
}

std::string call(const std::string& interfaceMethod, const std::string& arguments = "") {
    return trimmed(commandOutput(
        "(timeout 10 gdbus call --session --dest org.mpris.MediaPlayer2.lirabox --object-path /org/mpris/MediaPlayer2 "
        "--method " +
        interfaceMethod + " " + arguments + " 2>&1)"));
}

std::string textOf(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Everything the player signals on its object path, written to a file.
class SignalLog {
public:
    explicit SignalLog(fs::path file) : mFile(std::move(file)) {
        mPid = std::stoi(commandOutput("dbus-monitor --session \"type='signal',path='/org/mpris/MediaPlayer2'\" > " +
                                       quoted(mFile.string()) + " 2>&1 & echo $!"));
        waitUntil([&] { return textOf(mFile).find("NameLost") != std::string::npos; });
    }
    ~SignalLog() { ::kill(mPid, SIGTERM); }
    std::string text() const { return textOf(mFile); }

private:
    fs::path mFile;
    pid_t mPid = 0;
};

TEST(Mpris, MediaKeysDriveTheRunningPlayer) {
    InstalledPlayer install;
    const fs::path recording = install.scratch("long talk.wav");
    writeSineWav(recording, 120, 440, 8000, 1);
    const pid_t pid = install.start();
    ASSERT_TRUE(waitUntil([] { return playerctl("status") == "Stopped"; })) << install.output();
    EXPECT_EQ(call("org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2 Identity"), "(<'Lirabox'>,)");
    SignalLog signals(install.scratch("signals.log"));

    // Opening loads without playing, as the Open dialog does.
    playerctl("open file://" + quoted(fs::path(recording).replace_filename("long%20talk.wav").string()));
    ASSERT_TRUE(waitUntil([] { return playerctl("metadata xesam:title") == "long talk.wav"; }));
    EXPECT_EQ(playerctl("metadata mpris:length"), "120000000");
    EXPECT_EQ(playerctl("status"), "Stopped");
    EXPECT_EQ(install.publishedPositions(), std::vector<double> {0});  // once, for a reader

    playerctl("play-pause");
    EXPECT_EQ(playerctl("status"), "Playing");
    ASSERT_TRUE(waitUntil([&] { return install.publishedPositions().size() >= 3; }));

    playerctl("position 30");
    ASSERT_TRUE(waitUntil([&] { return install.position().value_or(0) >= 30; }));
    const double at = std::stod(playerctl("position"));
    EXPECT_GE(at, 30);
    EXPECT_LT(at, 35);

    // Play-pause is the play key: resuming steps back by a second.
    playerctl("play-pause");
    EXPECT_EQ(playerctl("status"), "Paused");
    const double pausedAt = std::stod(playerctl("position"));
    // The track keys step as fast-forward and rewind do (2 s each by default).
    EXPECT_EQ(call("org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2.Player CanGoNext"), "(<true>,)");
    EXPECT_EQ(call("org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2.Player CanGoPrevious"), "(<true>,)");
    playerctl("next");
    EXPECT_NEAR(std::stod(playerctl("position")), pausedAt + 2, 1e-3);
    ASSERT_TRUE(waitUntil([&] { return install.position().value_or(0) >= pausedAt + 2 - 1e-3; }));
    playerctl("previous");
    EXPECT_NEAR(std::stod(playerctl("position")), pausedAt, 1e-3);
    const std::size_t published = install.publishedPositions().size();
    playerctl("play-pause");
    ASSERT_TRUE(waitUntil([&] { return install.publishedPositions().size() > published; }));
    const double resumedAt = install.publishedPositions()[published];
    EXPECT_GE(resumedAt, pausedAt - 1.01);
    EXPECT_LT(resumedAt, pausedAt - 0.5);

    call("org.freedesktop.DBus.Properties.Set", "org.mpris.MediaPlayer2.Player Rate '<1.53>'");
    EXPECT_EQ(call("org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2.Player Rate"), "(<1.5>,)");
    playerctl("volume 0.2");
    EXPECT_EQ(playerctl("volume"), "0.200000");

    // A value of another type than the property's is refused and changes
    // nothing, as is setting what cannot be set; reading all still works.
    for (const std::string wrong : {"Rate '<\"fast\">'", "Rate '<\"2.0\">'", "Rate '<2>'", "Volume '<true>'"}) {
        const std::string answer =
            call("org.freedesktop.DBus.Properties.Set", "org.mpris.MediaPlayer2.Player " + wrong);
        EXPECT_NE(answer.find("Error.InvalidArgs"), std::string::npos) << wrong << ": " << answer;
    }
    EXPECT_NE(call("org.freedesktop.DBus.Properties.Set", "org.mpris.MediaPlayer2.Player Position '<int64 0>'")
                  .find("Error.PropertyReadOnly"),
              std::string::npos);
    EXPECT_NE(call("org.freedesktop.DBus.Properties.Set", "org.mpris.MediaPlayer2.Player Shuffle '<true>'")
                  .find("Error.UnknownProperty"),
              std::string::npos);
    const std::string all = call("org.freedesktop.DBus.Properties.GetAll", "org.mpris.MediaPlayer2.Player");
    EXPECT_NE(all.find("'Rate': <1.5>"), std::string::npos) << all;
    EXPECT_NE(all.find("'Volume': <0.2"), std::string::npos) << all;
    const std::string description = commandOutput(
        "timeout 10 gdbus introspect --session --dest org.mpris.MediaPlayer2.lirabox --object-path "
        "/org/mpris/MediaPlayer2");
    EXPECT_EQ(description.find("interface org.freedesktop.DBus.Properties"),
              description.rfind("interface org.freedesktop.DBus.Properties"))
        << description;

    ASSERT_TRUE(waitUntil([&] { return signals.text().find("double 0.2") != std::string::npos; }));
    const std::string log = signals.text();
    const std::string title = "string \"xesam:title\"\n                  variant                      string";
    EXPECT_NE(log.find(title + " \"long talk.wav\""), std::string::npos) << log;
    EXPECT_NE(log.find("string \"Playing\""), std::string::npos);
    EXPECT_NE(log.find("string \"Paused\""), std::string::npos);
    EXPECT_NE(log.find("member=Seeked\n   int64 30000000"), std::string::npos);
    EXPECT_NE(log.find("string \"Rate\"\n         variant             double 1.5"), std::string::npos);

    // Quit ends the program as closing its window does: the volume is saved.
    call("org.mpris.MediaPlayer2.Quit");
    EXPECT_EQ(install.waitForExit(pid), 0);
    EXPECT_NE(install.readFile("position.ini").find("value=1000"), std::string::npos);
}

// The start of a command that opens a URI through the interface.
const std::string openUri =
    "timeout 20 gdbus call --session --dest org.mpris.MediaPlayer2.lirabox --object-path /org/mpris/MediaPlayer2 "
    "--method org.mpris.MediaPlayer2.Player.OpenUri ";

// The state letter of a process ("R", "S", "Z" ...).
char processState(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto afterName = stat.rfind(") ");
    return afterName == std::string::npos ? '?' : stat[afterName + 2];
}

// Resident memory of a process, in KiB.
long residentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

// What 300 failed opens may add to the program's memory. AddressSanitizer
// keeps freed blocks in quarantine instead of reusing them, so there the bound
// is that quarantine's size, not the program's.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kResidentGrowthKiB = 64L * 1024;
#else
constexpr long kResidentGrowthKiB = 10L * 1024;
#endif

// A hostile program on the bus: a flood of opens of missing files from many
// clients at once, a file name cut short by a NUL. Each is answered with an
// error, no message box shows, and the recording that plays goes on playing.
TEST(Mpris, FailedOpensFromTheBusAreAnsweredWithErrorsAndPlaybackGoesOn) {
    InstalledPlayer install;
    const fs::path recording = install.scratch("talk.wav");
    writeSineWav(recording, 120, 440, 8000, 1);
    writeSineWav(install.scratch("a.wav"), 5, 440, 8000, 1);
    const pid_t pid = install.start({recording.string()});
    ASSERT_TRUE(waitUntil([] { return playerctl("status") == "Playing"; })) << install.output();
    const XWindow window = waitForWindow(pid, "Lirabox", false);
    ASSERT_NE(window, 0u);
    call("org.mpris.MediaPlayer2.Player.OpenUri", "file:///nowhere/warm-up.wav");
    const long residentBefore = residentKiB(pid);

    const std::string errors = commandOutput("for c in $(seq 30); do (for i in $(seq 10); do " + openUri +
                                             "file:///nowhere/$c-$i.wav; done) & done 2>&1 | grep -c 'Error.Failed'");
    EXPECT_EQ(trimmed(errors), "300");
    const std::string cutShort =
        commandOutput("(" + openUri + quoted("file://" + install.scratch("a.wav%00.txt").string()) + " 2>&1)");
    EXPECT_NE(cutShort.find("InvalidArgs"), std::string::npos) << cutShort;

    EXPECT_EQ(playerctl("status"), "Playing");
    EXPECT_EQ(playerctl("metadata xesam:title"), "talk.wav");
    const std::size_t published = install.publishedPositions().size();
    EXPECT_TRUE(waitUntil([&] { return install.publishedPositions().size() > published + 2; }));
    for (const XWindow shown : visibleWindows(pid)) EXPECT_FALSE(isDialog(shown)) << windowName(shown);
    EXPECT_LT(residentKiB(pid) - residentBefore, kResidentGrowthKiB);

    pressKeys(window, "ctrl+q");
    EXPECT_EQ(install.waitForExit(pid), 0);
}

// A recording on a disk that takes 15 s to open: while the load waits, the
// window's quit key ends the program at once, the load given up.
TEST(Mpris, TheQuitKeyEndsTheProgramAtOnceDuringASlowOpen) {
    InstalledPlayer install;
    const fs::path recording = install.scratch("far away.wav");
    writeSineWav(recording, 20, 440, 8000, 1);
    // LeakSanitizer cannot look at a process a tracer has held (the slow open),
    // so a sanitizer build leaves it out for this one program.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    const std::string options = sanitizer != nullptr ? sanitizer : "";
    ::setenv("ASAN_OPTIONS", (options + ":detect_leaks=0").c_str(), 1);
    const pid_t pid = install.start();
    ::setenv("ASAN_OPTIONS", options.c_str(), 1);
    const XWindow window = waitForWindow(pid, "Lirabox", false);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(waitUntil([] { return playerctl("status") == "Stopped"; })) << install.output();
    std::optional<SlowOpen> slow(std::in_place, recording, std::chrono::seconds(15), pid);
    commandOutput("(" + openUri + quoted("file://" + recording.string()) + " >/dev/null 2>&1 &)");
    ASSERT_TRUE(waitUntil([&] { return slow->holding(); }));
    pressKeys(window, "ctrl+q");
    // The program has ended (a zombie until the tracer lets the held thread go)
    // while its open is still held back.
    EXPECT_TRUE(waitUntil([&] { return processState(pid) == 'Z'; }, std::chrono::seconds(5))) << install.output();
    slow.reset();
    EXPECT_EQ(install.waitForExit(pid), 0) << install.output();
}

TEST(Mpris, WithoutASessionBusThePlayerPlaysAndSaysNothingOfIt) {
    InstalledPlayer install;
    const fs::path recording = install.scratch("talk.wav");
    writeSineWav(recording, 20, 440, 8000, 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + install.scratch("no-bus").string()).c_str(), 1);
    const pid_t pid = install.start({recording.string()});
    ASSERT_TRUE(waitUntil([&] { return install.publishedPositions().size() >= 3; })) << install.output();
    const XWindow window = waitForWindow(pid, "Lirabox", false);
    ASSERT_NE(window, 0u);
    pressKeys(window, "ctrl+q");
    EXPECT_EQ(install.waitForExit(pid), 0);
    const std::string output = install.output();
    EXPECT_EQ(output.find("bus"), std::string::npos) << output;
    EXPECT_EQ(output.find("mpris"), std::string::npos) << output;
}

}  // namespace
