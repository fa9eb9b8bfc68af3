// The installed program types time stamps into real editors — LibreOffice
// Writer and Mousepad, each with a profile of its own — while a fast typist
// types words around them: eight keys a second, each held 150 ms, so that
// there is never a moment with no key down. The time stamp key (F9 alone,
// swallowed) is one of the typist's keys; once Shift goes down two
// milliseconds after it, for the next word's capital. The document, read
// back through the clipboard, must hold every word and every stamp where its
// key was pressed, equal neighbouring digits included.

#include "OtherClient.h"
#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"
#include "tests/hotkeys/ShortcutRows.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace lirabox::test {
namespace {

constexpr int kF9 = 120;
constexpr unsigned long kKeyEvery = 125;  // ms
constexpr unsigned long kKeyHeld = 150;   // ms

// Key presses and releases at given times, sent at once on a connection of
// the typist's own: the X server plays them in time.
class Typist {
public:
    Typist() : mDisplay(XOpenDisplay(nullptr)) {}
    ~Typist() { XCloseDisplay(mDisplay); }
    Typist(const Typist&) = delete;
    Typist& operator=(const Typist&) = delete;

    // The next key of the rhythm.
    void tap(KeySym symbol) {
        add(mNext, symbol, true);
        add(mNext + kKeyHeld, symbol, false);
        mLastPress = mNext;
        mNext += kKeyEvery;
    }
    void word(const std::string& text) {
        for (const char c : text) tap(static_cast<KeySym>(c));
    }
    // Shift goes down just after the last key pressed and comes up just
    // before the press after the next key.
    void shiftForNextKey() {
        add(mLastPress + 2, XK_Shift_L, true);
        add(mNext + kKeyEvery - 2, XK_Shift_L, false);
    }

    // Plays the keys; returns once the X server has played them all.
    void play() {
        std::ranges::stable_sort(mEvents, {}, &Event::at);
        unsigned long at = 0;
        for (const Event& event : mEvents) {
            XTestFakeKeyEvent(
                mDisplay, XKeysymToKeycode(mDisplay, event.symbol), event.press ? True : False, event.at - at);
            at = event.at;
        }
        XSync(mDisplay, False);
        mEvents.clear();
    }

private:
    struct Event {
        unsigned long at;
        KeySym symbol;
        bool press;
    };
    void add(unsigned long at, KeySym symbol, bool press) { mEvents.push_back({at, symbol, press}); }

    Display* mDisplay;
    std::vector<Event> mEvents;
    unsigned long mNext = 0;
    unsigned long mLastPress = 0;
};

// A program started in a process group of its own, ended with the test.
class Editor {
public:
    Editor(const std::vector<std::string>& command, const std::vector<std::string>& environment) {
        mPid = fork();
        if (mPid == 0) {
            setpgid(0, 0);
            for (const std::string& variable : environment) putenv(const_cast<char*>(variable.c_str()));
            std::vector<char*> arguments;
            for (const std::string& argument : command) arguments.push_back(const_cast<char*>(argument.c_str()));
            arguments.push_back(nullptr);
            execvp(arguments[0], arguments.data());
            _exit(127);
        }
    }
    ~Editor() {
        if (mPid <= 0) return;
        kill(-mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // The document's text as the editor copies it: everything selected and
    // copied, the cursor back at the end.
    static std::string copiedText() {
        xdotool("key --clearmodifiers ctrl+a ctrl+c ctrl+End");
        std::string text = commandOutput("xclip -o -selection clipboard");
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        return text;
    }

private:
    pid_t mPid = -1;
};

XWindow waitForEditorWindow(const std::string& name) {
    XWindow window = 0;
    waitUntil(
        [&] {
            window =
                std::strtoul(commandOutput("xdotool search --onlyvisible --name '" + name + "'").c_str(), nullptr, 10);
            return window != 0;
        },
        std::chrono::seconds(90));
    return window;
}

// Starts the player on a generated recording with F9 as its time stamp key,
// readies the editor (a first word typed and read back), types five stamps
// among words with overlapping keys and compares the document.
void typeStampsAmongWords(const std::vector<std::string>& command, const std::vector<std::string>& environment,
                          const std::string& windowName) {
    InstalledPlayer player;
    player.writeFile("config.ini", shortcutRow(8, 8, kF9, 1));
    const auto recording = player.scratch("hearing.wav");
    writeSineWav(recording, 600, 440.0, 8000, 1);
    player.start({recording.string() + "/t=11"});
    ASSERT_TRUE(waitUntil([&] { return player.position().value_or(0) >= 11; })) << player.output();

    Editor editor(command, environment);
    const XWindow window = waitForEditorWindow(windowName);
    ASSERT_NE(window, 0u) << windowName;
    activate(window);
    xdotool("type Ready");
    std::string text;
    ASSERT_TRUE(waitUntil([&] { return (text = Editor::copiedText()) == "Ready"; }, std::chrono::seconds(60)))
        << "\"" << text << "\"";

    const double before = *player.position();
    Typist typist;
    typist.tap(XK_space);
    for (const char* next : {"quick", "Brown", "fox", "jumps", "over"}) {
        typist.tap(XK_F9);
        if (next[0] == 'B') typist.shiftForNextKey();
        typist.word(next);
        if (std::string(next) != "over") typist.tap(XK_space);
    }
    typist.play();
    const double after = *player.position();

    static const std::regex expected(
        R"(Ready (\[\d\d:\d\d:\d\d\] )quick (\[\d\d:\d\d:\d\d\] )Brown )"
        R"((\[\d\d:\d\d:\d\d\] )fox (\[\d\d:\d\d:\d\d\] )jumps (\[\d\d:\d\d:\d\d\] )over)");
    std::smatch stamps;
    EXPECT_TRUE(waitUntil([&] { return std::regex_match(text = Editor::copiedText(), stamps, expected); },
                          std::chrono::seconds(20)))
        << "\"" << text << "\"\n"
        << player.output();
    int previous = 0;
    for (std::size_t i = 1; i < stamps.size(); ++i) {
        const std::string stamp = stamps[i];
        const int seconds =
            std::stoi(stamp.substr(1, 2)) * 3600 + std::stoi(stamp.substr(4, 2)) * 60 + std::stoi(stamp.substr(7, 2));
        EXPECT_GE(seconds, previous) << text;
        EXPECT_GE(seconds + 1, before) << text;
        EXPECT_LE(seconds, after + 1) << text;
        previous = seconds;
    }
}

TEST(TimeStampsInEditors, LibreOfficeWriterGetsEveryStampIntactWhereItsKeyWasPressed) {
    TempFolder profile;
    const auto user = profile.file("user");
    std::filesystem::create_directories(user);
    // No tip of the day, no welcome: the document takes the keys at once.
    std::ofstream(user / "registrymodifications.xcu")
        << R"(<?xml version="1.0" encoding="UTF-8"?>)"
        << R"(<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema">)"
        << R"(<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse">)"
        << R"(<value>false</value></prop></item>)"
        << R"(<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse">)"
        << R"(<value>false</value></prop></item></oor:items>)";
    // The X11 backend ("gen"), whose key handling drops a second press that
    // arrives with the same server time as the first.
    typeStampsAmongWords(
        {"soffice", "--norestore", "--nologo", "-env:UserInstallation=file://" + profile.path().string(), "--writer"},
        {"SAL_USE_VCLPLUGIN=gen"},
        "LibreOffice Writer");
}

TEST(TimeStampsInEditors, MousepadGetsEveryStampWhereItsKeyWasPressed) {
    TempFolder profile;
    const auto document = profile.file("transcript.txt");
    std::ofstream {document};
    typeStampsAmongWords({"mousepad", document.string()},
                         {"XDG_CONFIG_HOME=" + profile.file("config").string(),
                          "XDG_DATA_HOME=" + profile.file("data").string(),
                          "XDG_CACHE_HOME=" + profile.file("cache").string()},
                         "transcript.txt");
}

}  // namespace
}  // namespace lirabox::test
