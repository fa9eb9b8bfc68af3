// The installed program types the playing position into another program's
// window when the time stamp key (slot 8, Ctrl+F9, swallowed) is pressed: on
// a US layout, on a German one (brackets on AltGr), and on a layout that has
// no brackets at all (typed on a spare key bound for a moment). The other
// program is a plain Xlib client that turns its key presses into text with
// XLookupString, as editors do. A stamp whose window lost the front while its
// keys were held goes nowhere.

#include "OtherClient.h"
#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"
#include "tests/hotkeys/ShortcutRows.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>

namespace lirabox::test {
namespace {

constexpr int kF9 = 120;
constexpr int kF10 = 121;
constexpr int kCtrl = 2;

// Adds the text of the key presses the client's window has received so far.
// Keys that give no text, other than modifiers, show as <name>; control
// characters as <^X>. True when the text ends with a blank, as a stamp does.
bool readText(OtherClient& client, std::string& text) {
    Display* display = client.display();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
        if (event.type != KeyPress || event.xkey.window != client.window()) continue;
        char buffer[16];
        KeySym symbol = NoSymbol;
        const int length = XLookupString(&event.xkey, buffer, sizeof buffer, &symbol, nullptr);
        if (length == 1 && static_cast<unsigned char>(buffer[0]) < 0x20) {
            text += "<^" + std::string(1, static_cast<char>(buffer[0] + '@')) + ">";
        } else if (length > 0) {
            text.append(buffer, static_cast<std::size_t>(length));
        } else if (!IsModifierKey(symbol)) {
            const char* name = XKeysymToString(symbol);
            text += "<" + std::string(name != nullptr ? name : "?") + ">";
        }
    }
    return !text.empty() && text.back() == ' ';
}

// The text received until a blank ends a stamp (at most two seconds), and
// whatever follows until no key has come for a moment.
std::string receivedText(OtherClient& client) {
    std::string text;
    waitUntil([&] { return readText(client, text); }, std::chrono::seconds(2));
    waitStable(
        [&] {
            readText(client, text);
            return text.size();
        },
        std::chrono::milliseconds(300),
        std::chrono::seconds(5));
    return text;
}

void discardText(OtherClient& client) {
    std::string ignored;
    readText(client, ignored);
}

// The seconds of a stamp "[hh:mm:ss] ", or -1 when the text is not one.
int stampSeconds(const std::string& text) {
    static const std::regex stamp(R"(\[(\d\d):(\d\d):(\d\d)\] )");
    std::smatch parts;
    if (!std::regex_match(text, parts, stamp)) return -1;
    return std::stoi(parts[1]) * 3600 + std::stoi(parts[2]) * 60 + std::stoi(parts[3]);
}

void setLayout(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

// The keys that have the symbol, as the server maps them now.
std::vector<KeyCode> keysWith(Display* display, KeySym symbol) {
    int first = 0, last = 0, perKey = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym* symbols = XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perKey);
    std::vector<KeyCode> keys;
    for (int i = 0; i < (last - first + 1) * perKey; ++i) {
        if (symbols[i] == symbol) keys.push_back(static_cast<KeyCode>(first + i / perKey));
    }
    XFree(symbols);
    return keys;
}

// The bracket keys of the current layout lose their symbols.
void removeBrackets(Display* display) {
    for (const KeySym bracket : {XK_bracketleft, XK_bracketright}) {
        const std::vector<KeyCode> keys = keysWith(display, bracket);
        ASSERT_FALSE(keys.empty());
        KeySym none[2] = {NoSymbol, NoSymbol};
        for (const KeyCode key : keys) XChangeKeyboardMapping(display, key, 2, none, 1);
    }
    XSync(display, False);
    ASSERT_TRUE(keysWith(display, XK_bracketleft).empty());
}

TEST(ThePlayerProgram, TypesTheTimeStampIntoTheFocusedWindowWhateverTheKeyboardLayout) {
    InstalledPlayer player;
    player.writeFile("config.ini", shortcutRow(8, 8, kF9, 1, kCtrl) + shortcutRow(5, 5, kF10, 1, kCtrl));
    const auto recording = player.scratch("interview.wav");
    writeSineWav(recording, 300, 440.0, 8000, 1);
    OtherClient client;
    const pid_t pid = player.start({recording.string() + "/t=75"});
    ASSERT_TRUE(waitUntil([&] { return player.position().value_or(0) >= 75; })) << player.output();
    // The sound starts before the window and the keys are set up.
    const XWindow main = waitForWindow(pid, "Lirabox", false);
    ASSERT_NE(main, 0u);
    ASSERT_TRUE(client.takeFocus());
    discardText(client);

    xdotool("key ctrl+F9");
    const std::string first = receivedText(client);
    EXPECT_NEAR(stampSeconds(first), 75, 1) << "\"" << first << "\"";

    // The menu item: the stamp waits while the player has the focus and goes
    // to the window the user turns to.
    activate(main);
    const std::size_t windowsBefore = shownWindowCount(pid);
    ASSERT_TRUE(opensWindow(pid, [&] { click(main, 30, 10); })) << "the menu \"ファイル\" does not open";
    xdotool("key Down Down Down Down Down Down Down Down Down Return");
    ASSERT_TRUE(waitUntil([&] { return shownWindowCount(pid) == windowsBefore; })) << "the menu stays open";
    const double chosenAt = *player.position();
    EXPECT_EQ(receivedText(client), "");
    ASSERT_TRUE(client.takeFocus());
    const std::string fromMenu = receivedText(client);
    EXPECT_NEAR(stampSeconds(fromMenu), chosenAt, 1.5) << "\"" << fromMenu << "\"";

    // Held: nothing is typed while Ctrl is down, and then the stamp alone,
    // neither turned into Ctrl keys nor preceded by the swallowed F9.
    xdotool("keydown ctrl+F9");
    const double pressedAt = *player.position();
    EXPECT_EQ(receivedText(client), "");
    xdotool("keyup F9 ctrl");
    const std::string held = receivedText(client);
    EXPECT_NEAR(stampSeconds(held), pressedAt, 1.5) << "\"" << held << "\"";

    // The same, but another window comes to the front before the keys go up:
    // the stamp goes nowhere, and one line says why. Ctrl+F10 (rewind) runs
    // after the stamp's command: once the position went back, the stamp waits.
    xdotool("keydown ctrl+F9");
    const std::size_t published = player.publishedPositions().size();
    xdotool("key F10");
    ASSERT_TRUE(waitUntil(
        [&] {
            const std::vector<double> positions = player.publishedPositions();
            for (std::size_t i = std::max<std::size_t>(published, 1); i < positions.size(); ++i) {
                if (positions[i] < positions[i - 1]) return true;
            }
            return false;
        },
        std::chrono::seconds(5)));
    {
        OtherClient second;
        xdotool("keyup F9 ctrl");
        EXPECT_EQ(receivedText(second), "");
    }
    ASSERT_TRUE(client.takeFocus());
    EXPECT_EQ(receivedText(client), "");
    EXPECT_NE(player.output().find("lirabox: the time stamp was not typed (the focus moved to another window)"),
              std::string::npos)
        << player.output();

    for (const bool german : {true, false}) {
        if (german) {
            setLayout("setxkbmap de");
        } else {
            setLayout("setxkbmap us");
            removeBrackets(client.display());
        }
        discardText(client);
        const double before = *player.position();
        xdotool("key ctrl+F9");
        const std::string stamp = receivedText(client);
        EXPECT_NEAR(stampSeconds(stamp), before, 1.5)
            << (german ? "de" : "us without brackets") << ": \"" << stamp << "\"";
    }
    // The spare keys the brackets were typed on have no symbols again.
    EXPECT_TRUE(waitUntil([&] { return keysWith(client.display(), XK_bracketleft).empty(); }, std::chrono::seconds(3)));
    setLayout("setxkbmap us");
}

}  // namespace
}  // namespace lirabox::test
