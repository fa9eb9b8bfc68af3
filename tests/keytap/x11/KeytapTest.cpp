// Drives the built libkeytap.so on a private X server: xdotool presses keys
// while a window of this test holds the focus; the test sees the messages
// that reach the target window and the key events that reach the focused one.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <poll.h>
#include <unistd.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "keytap/Keytap.h"

namespace {

struct KeytapApi {
    decltype(&InitHook) initHook = nullptr;
    decltype(&TerminateHook) terminateHook = nullptr;
    decltype(&RegistKey) registKey = nullptr;
    decltype(&UnRegistKey) unRegistKey = nullptr;
    decltype(&GetMessageID_KeyBoard) messageId = nullptr;
};

KeytapApi loadKeytap() {
    // Stays loaded for the whole run, like in the player.
    void* library = dlopen(KEYTAP_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    KeytapApi api;
    if (library == nullptr) return api;
    api.initHook = reinterpret_cast<decltype(&InitHook)>(dlsym(library, "InitHook"));
    api.terminateHook = reinterpret_cast<decltype(&TerminateHook)>(dlsym(library, "TerminateHook"));
    api.registKey = reinterpret_cast<decltype(&RegistKey)>(dlsym(library, "RegistKey"));
    api.unRegistKey = reinterpret_cast<decltype(&UnRegistKey)>(dlsym(library, "UnRegistKey"));
    api.messageId = reinterpret_cast<decltype(&GetMessageID_KeyBoard)>(dlsym(library, "GetMessageID_KeyBoard"));
    return api;
}

const KeytapApi& keytap() {
    static const KeytapApi api = loadKeytap();
    return api;
}

constexpr int32_t kMarkerSlot = 15;
constexpr int32_t kF1 = 112, kF2 = 113, kF3 = 114, kF4 = 115, kF5 = 116, kF7 = 118, kF12 = 123;

struct Message {
    long slot;
    long lParam;
    friend bool operator==(const Message&, const Message&) = default;
};

std::ostream& operator<<(std::ostream& out, const Message& message) {
    return out << "{slot " << message.slot << ", lParam 0x" << std::hex << message.lParam << std::dec << "}";
}

struct Observed {
    std::vector<Message> messages;
    std::vector<unsigned> focusPresses;   // keycodes
    std::vector<unsigned> focusReleases;  // keycodes
};

class KeytapX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        const KeytapApi& api = keytap();
        ASSERT_NE(api.initHook, nullptr) << dlerror();
        ASSERT_NE(api.messageId, nullptr);
        // One connection for the whole run: an X server without clients resets itself.
        static Display* const connection = XOpenDisplay(nullptr);
        display = connection;
        ASSERT_NE(display, nullptr);
        const Window root = DefaultRootWindow(display);
        target = XCreateWindow(display, root, 0, 0, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent, 0, nullptr);
        focus = XCreateSimpleWindow(display, root, 10, 10, 200, 100, 0, 0, 0);
        XSelectInput(display, focus, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
        XMapWindow(display, focus);
        XEvent event;
        do XWindowEvent(display, focus, StructureNotifyMask, &event);
        while (event.type != MapNotify);
        XSetInputFocus(display, focus, RevertToParent, CurrentTime);
        // Keys held down in a test repeat only where the test is about that.
        XAutoRepeatOff(display);
        XSync(display, False);
        messageAtom = XInternAtom(display, KEYTAP_MESSAGE_NAME, False);
        markerKeycode = XKeysymToKeycode(display, XK_F12);

        ASSERT_EQ(api.initHook(target), 1);
        registerKey(kMarkerSlot, kF12, 0, 0);
    }

    void TearDown() override {
        keytap().terminateHook();
        if (display == nullptr) return;
        XDestroyWindow(display, focus);
        XDestroyWindow(display, target);
        XSync(display, True);  // drops what is left for this test's windows
    }

    static void registerKey(int32_t slot, int32_t keyCode, int32_t shiftStatus, int32_t keyDestroy) {
        const ShortcutKeyRecord record {slot, keyCode, shiftStatus, keyDestroy};
        ASSERT_EQ(keytap().registKey(&record), 1);
    }

    static void xdotool(const std::string& arguments) {
        ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
    }

    unsigned keycodeOf(KeySym keysym) const { return XKeysymToKeycode(display, keysym); }

    // The next event; fails the test when nothing comes for a long time.
    bool nextEvent(XEvent& event) {
        for (int waited = 0; XPending(display) == 0; ++waited) {
            if (waited == 300) {
                ADD_FAILURE() << "no X event arrived";
                return false;
            }
            pollfd fd {ConnectionNumber(display), POLLIN, 0};
            poll(&fd, 1, 100);
        }
        XNextEvent(display, &event);
        return true;
    }

    // Sorts one event into `seen`; returns the marker parts it was.
    void sort(const XEvent& event, Observed& seen, bool& markerMessage, bool& markerPress) {
        if (event.type == ClientMessage && event.xclient.window == target &&
            event.xclient.message_type == messageAtom) {
            ASSERT_EQ(event.xclient.format, 32);
            const Message message {event.xclient.data.l[0], event.xclient.data.l[1]};
            if (message.slot == kMarkerSlot)
                markerMessage = true;
            else
                seen.messages.push_back(message);
        } else if (event.type == KeyPress && event.xkey.window == focus) {
            if (event.xkey.keycode == markerKeycode)
                markerPress = true;
            else
                seen.focusPresses.push_back(event.xkey.keycode);
        } else if (event.type == KeyRelease && event.xkey.window == focus && event.xkey.keycode != markerKeycode) {
            seen.focusReleases.push_back(event.xkey.keycode);
        }
    }

    // Presses the marker key (F12, slot 15, passed on) and returns everything
    // that arrived before its message and its key-down: whatever the keys
    // pressed earlier caused has arrived by then.
    Observed untilMarker() {
        Observed seen;
        xdotool("key F12");
        bool markerMessage = false;
        bool markerPress = false;
        XEvent event;
        while (!(markerMessage && markerPress) && nextEvent(event)) sort(event, seen, markerMessage, markerPress);
        return seen;
    }

    // Collects until `count` messages have arrived.
    Observed untilMessages(std::size_t count) {
        Observed seen;
        bool markerMessage = false;
        bool markerPress = false;
        XEvent event;
        while (seen.messages.size() < count && nextEvent(event)) sort(event, seen, markerMessage, markerPress);
        return seen;
    }

    // Waits until no client holds the keyboard grabbed.
    void waitUntilKeyboardIsFree() {
        for (int attempt = 0; attempt < 3000; ++attempt) {
            if (XGrabKeyboard(display, focus, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess) {
                XUngrabKeyboard(display, CurrentTime);
                XSync(display, False);
                return;
            }
            usleep(10000);
        }
        FAIL() << "the keyboard stays grabbed";
    }

    static long lParamOf(int32_t modifiers, int32_t key) { return (long {modifiers} << 16) | key; }

    Display* display = nullptr;
    Window target = 0;
    Window focus = 0;
    Atom messageAtom = 0;
    unsigned markerKeycode = 0;
};

TEST_F(KeytapX11Test, CtrlF1PostsSlot3AndReachesTheFocusedProgram) {
    registerKey(3, kF1, 2, 0);
    xdotool("key ctrl+F1");
    const Observed seen = untilMarker();
    EXPECT_EQ(seen.messages, (std::vector<Message> {{3, 0x00020070}}));
    EXPECT_EQ(seen.focusPresses, (std::vector<unsigned> {keycodeOf(XK_Control_L), keycodeOf(XK_F1)}));
}

TEST_F(KeytapX11Test, F1AloneCtrlShiftF1AndTheKeyUpPostNothing) {
    registerKey(3, kF1, 2, 0);
    xdotool("key F1 ctrl+shift+F1");
    EXPECT_TRUE(untilMarker().messages.empty());

    // The key-up of a registered key.

    registerKey(4, kF1, 0, 0);
    xdotool("keydown F1");
    EXPECT_EQ(untilMarker().messages, (std::vector<Message> {{4, lParamOf(0, kF1)}}));
    xdotool("keyup F1");
    const Observed afterKeyUp = untilMarker();
    EXPECT_TRUE(afterKeyUp.messages.empty());
    EXPECT_EQ(afterKeyUp.focusReleases, (std::vector<unsigned> {keycodeOf(XK_F1)}));
}

TEST_F(KeytapX11Test, ASwallowedKeyDownNeverReachesTheFocusedProgram) {
    registerKey(3, kF1, 2, 1);
    xdotool("key ctrl+F1");
    const Observed seen = untilMarker();
    EXPECT_EQ(seen.messages, (std::vector<Message> {{3, 0x00020070}}));
    EXPECT_EQ(seen.focusPresses, (std::vector<unsigned> {keycodeOf(XK_Control_L)}));
}

TEST_F(KeytapX11Test, TheKeyUpOfASwallowedKeyReachesTheFocusedProgram) {
    registerKey(3, kF1, 2, 1);
    xdotool("keydown ctrl keydown F1");
    EXPECT_EQ(untilMessages(1).messages, (std::vector<Message> {{3, 0x00020070}}));
    waitUntilKeyboardIsFree();
    xdotool("keyup F1 keyup ctrl");
    const Observed seen = untilMarker();
    EXPECT_TRUE(seen.messages.empty());
    EXPECT_EQ(seen.focusReleases, (std::vector<unsigned> {keycodeOf(XK_F1), keycodeOf(XK_Control_L)}));
    for (unsigned keycode : seen.focusPresses) EXPECT_NE(keycode, keycodeOf(XK_F1));
}

TEST_F(KeytapX11Test, TheLowerOfTwoEqualSlotsWinsWithItsOwnDiscardFlag) {
    registerKey(5, kF2, 0, 1);
    registerKey(2, kF2, 0, 0);
    xdotool("key F2");
    const Observed seen = untilMarker();
    EXPECT_EQ(seen.messages, (std::vector<Message> {{2, lParamOf(0, kF2)}}));
    EXPECT_EQ(seen.focusPresses, (std::vector<unsigned> {keycodeOf(XK_F2)}));
}

TEST_F(KeytapX11Test, AHeldKeyFiresForEveryAutoRepeatedKeyDown) {
    XAutoRepeatOn(display);
    XSync(display, False);
    registerKey(0, kF3, 0, 0);
    xdotool("keydown F3");
    const Observed held = untilMessages(3);
    xdotool("keyup F3");
    const Observed rest = untilMarker();
    EXPECT_EQ(held.messages, (std::vector<Message>(3, {0, lParamOf(0, kF3)})));
    const std::size_t messages = held.messages.size() + rest.messages.size();
    const std::size_t presses = held.focusPresses.size() + rest.focusPresses.size();
    // Each repeat reaches the focused program too; the watcher repeats on its
    // own clock, which may be one repeat ahead of or behind the server.
    EXPECT_LE(presses, messages + 1);
    EXPECT_LE(messages, presses + 1);
}

TEST_F(KeytapX11Test, AHeldSwallowedKeyFiresForEveryAutoRepeatAndNeverReachesTheFocusedProgram) {
    XAutoRepeatOn(display);
    XSync(display, False);
    registerKey(1, kF4, 0, 1);
    xdotool("keydown F4");
    const Observed held = untilMessages(3);
    xdotool("keyup F4");
    const Observed rest = untilMarker();
    EXPECT_EQ(held.messages, (std::vector<Message>(3, {1, lParamOf(0, kF4)})));
    EXPECT_TRUE(held.focusPresses.empty());
    EXPECT_TRUE(rest.focusPresses.empty());
}

TEST_F(KeytapX11Test, AModifierAloneIsAShortcut) {
    registerKey(4, 16, 1, 1);
    xdotool("key shift");
    const Observed seen = untilMarker();
    EXPECT_EQ(seen.messages, (std::vector<Message> {{4, 0x00010010}}));
    EXPECT_TRUE(seen.focusPresses.empty());
}

TEST_F(KeytapX11Test, AltCombinationsAreMatchedAndSwallowed) {
    registerKey(6, kF2, 4, 1);
    registerKey(7, kF2, 5, 0);
    xdotool("key alt+F2 alt+shift+F2");
    const Observed seen = untilMarker();
    EXPECT_EQ(seen.messages, (std::vector<Message> {{6, lParamOf(4, kF2)}, {7, lParamOf(5, kF2)}}));
    int f2Presses = 0;
    for (unsigned keycode : seen.focusPresses) f2Presses += keycode == keycodeOf(XK_F2);
    EXPECT_EQ(f2Presses, 1);
}

TEST_F(KeytapX11Test, SwallowingHoldsWithCapsLockOn) {
    registerKey(0, kF5, 0, 1);
    xdotool("key Caps_Lock F5 Caps_Lock");
    const Observed seen = untilMarker();
    EXPECT_EQ(seen.messages, (std::vector<Message> {{0, lParamOf(0, kF5)}}));
    for (unsigned keycode : seen.focusPresses) EXPECT_NE(keycode, keycodeOf(XK_F5));
}

TEST_F(KeytapX11Test, KeysArriveAsTheirVirtualKeyCodes) {
    const std::vector<std::pair<std::string, int32_t>> keys {
        {"a", 'A'},          {"z", 'Z'},           {"5", '5'},           {"KP_Begin", 101},    {"KP_Home", 103},
        {"KP_Insert", 96},   {"KP_Multiply", 106}, {"KP_Add", 107},      {"KP_Subtract", 109}, {"KP_Divide", 111},
        {"Return", 13},      {"space", 32},        {"Escape", 27},       {"BackSpace", 8},     {"Tab", 9},
        {"Insert", 45},      {"Delete", 46},       {"Home", 36},         {"End", 35},          {"Prior", 33},
        {"Next", 34},        {"Left", 37},         {"Up", 38},           {"Right", 39},        {"Down", 40},
        {"semicolon", 186},  {"equal", 187},       {"comma", 188},       {"minus", 189},       {"period", 190},
        {"slash", 191},      {"grave", 192},       {"bracketleft", 219}, {"backslash", 220},   {"bracketright", 221},
        {"apostrophe", 222}, {"F1", 112},          {"F11", 122},         {"Pause", 19},        {"Super_L", 91},
        {"Menu", 93},        {"Print", 44},        {"Scroll_Lock", 145}, {"ctrl", 17},         {"alt", 18},
        {"shift", 16}};
    for (std::size_t first = 0; first < keys.size(); first += 14) {
        const std::size_t end = std::min(first + 14, keys.size());
        std::string presses = "key";
        std::vector<Message> expected;
        for (std::size_t i = first; i < end; ++i) {
            const auto slot = static_cast<int32_t>(i - first);
            const int32_t modifiers = keys[i].second >= 16 && keys[i].second <= 18 ? 1 << (keys[i].second - 16) : 0;
            registerKey(slot, keys[i].second, modifiers, 1);
            presses += " " + keys[i].first;
            expected.push_back({slot, lParamOf(modifiers, keys[i].second)});
        }
        xdotool(presses);
        const Observed seen = untilMarker();
        EXPECT_EQ(seen.messages, expected) << presses;
        EXPECT_TRUE(seen.focusPresses.empty()) << presses;
        for (int32_t slot = 0; slot < 14; ++slot) keytap().unRegistKey(slot);
    }
}

TEST_F(KeytapX11Test, KeysAddedToTheKeymapLaterAreRecognised) {
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    int perKeycode = 0;
    KeySym* syms =
        XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode), maxKeycode - minKeycode + 1, &perKeycode);
    ASSERT_NE(syms, nullptr);
    int spare = 0;
    for (int keycode = maxKeycode; keycode >= minKeycode && spare == 0; --keycode) {
        bool empty = true;
        for (int level = 0; level < perKeycode; ++level)
            empty = empty && syms[(keycode - minKeycode) * perKeycode + level] == NoSymbol;
        if (empty) spare = keycode;
    }
    XFree(syms);
    ASSERT_NE(spare, 0) << "the keymap has no free keycode";
    ASSERT_EQ(XKeysymToKeycode(display, XK_F20), 0) << "F20 is mapped already";

    registerKey(0, 131, 0, 1);  // F20, swallowed
    KeySym f20 = XK_F20;
    XChangeKeyboardMapping(display, spare, 1, &f20, 1);
    XSync(display, False);
    xdotool("key F20");
    const Observed seen = untilMarker();
    KeySym none = NoSymbol;
    XChangeKeyboardMapping(display, spare, 1, &none, 1);
    XSync(display, False);
    EXPECT_EQ(seen.messages, (std::vector<Message> {{0, lParamOf(0, 131)}}));
    for (unsigned keycode : seen.focusPresses) EXPECT_NE(keycode, static_cast<unsigned>(spare));
}

TEST_F(KeytapX11Test, AnUnregisteredKeyNoLongerFiresNorIsSwallowed) {
    registerKey(0, kF5, 0, 1);
    ASSERT_EQ(keytap().unRegistKey(0), 1);
    EXPECT_EQ(keytap().unRegistKey(16), 0);
    EXPECT_EQ(keytap().unRegistKey(-1), 0);
    xdotool("key F5");
    const Observed seen = untilMarker();
    EXPECT_TRUE(seen.messages.empty());
    EXPECT_EQ(seen.focusPresses, (std::vector<unsigned> {keycodeOf(XK_F5)}));
}

TEST_F(KeytapX11Test, RegisteringOutsideTheTableChangesNothing) {
    const ShortcutKeyRecord tooHigh {16, kF5, 0, 1};
    const ShortcutKeyRecord free {-1, kF5, 0, 1};
    EXPECT_EQ(keytap().registKey(&tooHigh), 0);
    EXPECT_EQ(keytap().registKey(&free), 0);
    EXPECT_EQ(keytap().registKey(nullptr), 0);
    xdotool("key F5");
    const Observed seen = untilMarker();
    EXPECT_TRUE(seen.messages.empty());
    EXPECT_EQ(seen.focusPresses, (std::vector<unsigned> {keycodeOf(XK_F5)}));
}

TEST_F(KeytapX11Test, StartingAgainFreesEverySlot) {
    for (int32_t slot = 0; slot < KEYTAP_SLOTS - 1; ++slot) registerKey(slot, kF5, 0, 1);
    ASSERT_EQ(keytap().initHook(target), 1);
    registerKey(kMarkerSlot, kF12, 0, 0);
    xdotool("key F5");
    const Observed seen = untilMarker();
    EXPECT_TRUE(seen.messages.empty());
    EXPECT_EQ(seen.focusPresses, (std::vector<unsigned> {keycodeOf(XK_F5)}));
}

TEST_F(KeytapX11Test, AfterTerminatingNothingIsPostedOrSwallowed) {
    registerKey(0, kF5, 0, 1);
    EXPECT_EQ(keytap().terminateHook(), 1);
    EXPECT_EQ(keytap().terminateHook(), 0);
    xdotool("key F5 F12");
    XEvent event;
    std::vector<unsigned> presses;
    while (presses.size() < 2 && nextEvent(event)) {
        EXPECT_NE(event.type, ClientMessage);
        if (event.type == KeyPress) presses.push_back(event.xkey.keycode);
    }
    EXPECT_EQ(presses, (std::vector<unsigned> {keycodeOf(XK_F5), markerKeycode}));
}

TEST_F(KeytapX11Test, StartingAndStoppingRepeatedlyIsSafe) {
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(keytap().initHook(target), 1);
        ASSERT_EQ(keytap().initHook(target), 1);
        EXPECT_EQ(keytap().terminateHook(), 1);
        EXPECT_EQ(keytap().terminateHook(), 0);
    }
    ASSERT_EQ(keytap().initHook(target), 1);
    registerKey(kMarkerSlot, kF12, 0, 0);
    registerKey(0, kF5, 0, 0);
    xdotool("key F5");
    EXPECT_EQ(untilMarker().messages, (std::vector<Message> {{0, lParamOf(0, kF5)}}));
}

TEST_F(KeytapX11Test, AVanishedTargetWindowDoesNotStopTheLibrary) {
    const Window doomed = XCreateWindow(
        display, DefaultRootWindow(display), 0, 0, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent, 0, nullptr);
    XSync(display, False);
    ASSERT_EQ(keytap().initHook(doomed), 1);
    registerKey(0, kF5, 0, 0);
    XDestroyWindow(display, doomed);
    XSync(display, False);
    xdotool("key F5 F5");
    ASSERT_EQ(keytap().initHook(target), 1);
    registerKey(kMarkerSlot, kF12, 0, 0);
    registerKey(0, kF5, 0, 0);
    xdotool("key F5");
    const Observed seen = untilMarker();
    EXPECT_EQ(seen.messages, (std::vector<Message> {{0, lParamOf(0, kF5)}}));
}

TEST_F(KeytapX11Test, AKeyAnotherProgramGrabsStillFires) {
    const unsigned f7 = keycodeOf(XK_F7);
    XGrabKey(display, static_cast<int>(f7), 0, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    registerKey(0, kF7, 0, 1);
    xdotool("key F7");
    const Observed seen = untilMarker();
    XUngrabKey(display, static_cast<int>(f7), 0, DefaultRootWindow(display));
    EXPECT_EQ(seen.messages, (std::vector<Message> {{0, lParamOf(0, kF7)}}));
}

TEST_F(KeytapX11Test, TheMessageNumberIsTheAtomOfItsName) {
    EXPECT_EQ(keytap().messageId(), messageAtom);
    keytap().terminateHook();
    EXPECT_EQ(keytap().messageId(), messageAtom);
}

TEST_F(KeytapX11Test, WithoutADisplayNothingStarts) {
    keytap().terminateHook();
    const std::string saved = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_EQ(keytap().initHook(target), 0);
    EXPECT_EQ(keytap().messageId(), 0u);
    EXPECT_EQ(keytap().terminateHook(), 0);
    const ShortcutKeyRecord record {0, kF5, 0, 1};
    EXPECT_EQ(keytap().registKey(&record), 1);
    setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
