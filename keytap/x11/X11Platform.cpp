#include "X11Platform.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "GrabPlan.h"
#include "KeyRepeat.h"
#include "keytap/VirtualKeys.h"

namespace keytap {
namespace {

// Xlib's error handler is one per process. Errors on the watcher's own
// connection are expected (BadWindow once the target window is gone,
// BadAccess when another program already grabs a combination) and dropped;
// every other error goes to the handler that was there before.
std::atomic<Display*> watcherDisplay {nullptr};
XErrorHandler previousErrorHandler = nullptr;

int onXError(Display* display, XErrorEvent* error) {
    if (display == watcherDisplay.load()) return 0;
    return previousErrorHandler != nullptr ? previousErrorHandler(display, error) : 0;
}

void installErrorHandler(Display* display) {
    watcherDisplay.store(display);
    XErrorHandler previous = XSetErrorHandler(onXError);
    if (previous != onXError) previousErrorHandler = previous;
}

void removeErrorHandler() {
    watcherDisplay.store(nullptr);
    XErrorHandler current = XSetErrorHandler(previousErrorHandler);
    if (current != onXError) XSetErrorHandler(current);  // someone replaced ours: leave theirs
}

bool isModifierKey(int32_t virtualKey) { return modifierBitOfVirtualKey(virtualKey) != 0; }

uint32_t keysymAt(const KeySym* syms, int perKeycode, int index, int level) {
    if (level >= perKeycode) return 0;
    const KeySym sym = syms[index * perKeycode + level];
    return sym == NoSymbol ? 0 : static_cast<uint32_t>(sym);
}

class X11Backend final : public HookBackend {
public:
    X11Backend(Display* display, int xiOpcode, int xkbEventBase, Atom message, int wakeRead, int wakeWrite,
               const KeyTable& table, const std::atomic<KeytapWindow>& target)
        : mDisplay(display), mXiOpcode(xiOpcode), mXkbEventBase(xkbEventBase), mMessage(message), mWakeRead(wakeRead),
          mWakeWrite(wakeWrite), mTable(table), mTarget(target) {}

    ~X11Backend() override {
        if (mThread.joinable()) {
            mStop.store(true);
            wake();
            mThread.join();
        }
        XSync(mDisplay, True);  // late errors still reach our handler
        removeErrorHandler();
        XCloseDisplay(mDisplay);
        close(mWakeRead);
        close(mWakeWrite);
    }

    void start() override {
        mThread = std::thread([this] { run(); });
    }

    void tableChanged() override {
        std::unique_lock lock(mGenerationMutex);
        const uint64_t wanted = ++mRequested;
        wake();
        // The grabs follow within one round trip to the X server; the bound
        // only matters if the server stops answering.
        mGenerationApplied.wait_for(lock, std::chrono::seconds(1), [&] { return mApplied >= wanted; });
    }

    uint32_t messageId() const override { return static_cast<uint32_t>(mMessage); }

private:
    void wake() {
        const char byte = 1;
        // A full pipe already holds a wake-up.
        [[maybe_unused]] ssize_t written = write(mWakeWrite, &byte, 1);
    }

    void drainWakeUps() {
        char buffer[64];
        while (read(mWakeRead, buffer, sizeof buffer) > 0) {}
    }

    void run() {
        readLayout();
        applyGrabs();
        pollfd fds[2] = {{ConnectionNumber(mDisplay), POLLIN, 0}, {mWakeRead, POLLIN, 0}};
        while (!mStop.load()) {
            while (XPending(mDisplay) > 0) {
                XEvent event;
                XNextEvent(mDisplay, &event);
                handle(event);
            }
            const int repeatKeycode = mRepeat.due(KeyRepeat::Clock::now());
            if (repeatKeycode >= 0) repeatPassedOnKey(repeatKeycode);
            if (poll(fds, 2, mRepeat.timeout(KeyRepeat::Clock::now())) < 0 && errno != EINTR) break;
            if (fds[1].revents & POLLIN) {
                drainWakeUps();
                if (mStop.load()) break;
                uint64_t wanted = 0;
                {
                    std::lock_guard lock(mGenerationMutex);
                    wanted = mRequested;
                }
                applyGrabs();
                XSync(mDisplay, False);
                {
                    std::lock_guard lock(mGenerationMutex);
                    mApplied = wanted;
                }
                mGenerationApplied.notify_all();
            }
        }
        XUngrabKeyboard(mDisplay, CurrentTime);
        XFlush(mDisplay);
    }

    void handle(XEvent& event) {
        switch (event.type) {
        case GenericEvent:
            if (event.xcookie.extension == mXiOpcode && XGetEventData(mDisplay, &event.xcookie)) {
                const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
                if (raw->evtype == XI_RawKeyPress)
                    onRawPress(raw->detail);
                else if (raw->evtype == XI_RawKeyRelease)
                    onRawRelease(raw->detail);
                XFreeEventData(mDisplay, &event.xcookie);
            }
            break;
        case KeyPress: onGrabbedPress(static_cast<int>(event.xkey.keycode)); break;
        case MappingNotify:
            if (event.xmapping.request != MappingPointer) {
                XRefreshKeyboardMapping(&event.xmapping);
                keymapChanged();
            }
            break;
        default:
            // With XKB, keymap changes come as XKB events instead.
            if (mXkbEventBase >= 0 && event.type == mXkbEventBase) keymapChanged();
            break;
        }
    }

    void keymapChanged() {
        readLayout();
        applyGrabs();
    }

    static bool isKeycode(int keycode) { return keycode >= 0 && keycode < kKeycodeCount; }

    // Every key press of the desktop arrives here, whoever has the focus or a grab.
    void onRawPress(int keycode) {
        if (!isKeycode(keycode)) return;
        const auto index = static_cast<std::size_t>(keycode);
        const bool modifier = isModifierKey(mKeycodes[index]);
        if (modifier) mModifierDown[index] = true;
        // A grabbed press also arrives as a KeyPress right after this; that
        // one must not count twice.
        if (mGrabbed[index]) {
            mAwaitingGrabbedPress[index] = true;
            // The server started the grab with this press: it ends before the
            // command is posted, so that what the command types (a time
            // stamp) reaches the focused program.
            ungrabKeyboard();
        }
        const KeyMatch match = fire(keycode);
        if (match.slot != kNoSlot && !match.swallow) {
            startRepeat(keycode);
        } else if (!modifier) {
            // The server now repeats this key instead (modifiers do not take it over).
            mRepeat.stop();
        }
    }

    void onRawRelease(int keycode) {
        if (!isKeycode(keycode)) return;
        const auto index = static_cast<std::size_t>(keycode);
        mModifierDown[index] = false;
        mAwaitingGrabbedPress[index] = false;
        mRepeat.released(keycode);
    }

    // A press of a grabbed (swallowed) combination: the twin of a raw press,
    // or an auto-repeated key-down (the server makes no raw events for those).
    void onGrabbedPress(int keycode) {
        if (!isKeycode(keycode)) return;
        const auto index = static_cast<std::size_t>(keycode);
        const bool repeated = !mAwaitingGrabbedPress[index];
        mAwaitingGrabbedPress[index] = false;
        // Ending the grab at once lets the key-up, and whatever the command
        // types, reach the focused program.
        ungrabKeyboard();
        if (repeated) fire(keycode);
    }

    void ungrabKeyboard() {
        XUngrabKeyboard(mDisplay, CurrentTime);
        XFlush(mDisplay);
    }

    // Repeats a passed-on key only where the server repeats it for the focused program too.
    void startRepeat(int keycode) {
        XKeyboardState state {};
        XGetKeyboardControl(mDisplay, &state);
        const bool keyRepeats = (state.auto_repeats[keycode / 8] >> (keycode % 8)) & 1;
        unsigned delay = 0;
        unsigned interval = 0;
        if (state.global_auto_repeat != AutoRepeatModeOn || !keyRepeats ||
            !XkbGetAutoRepeatRate(mDisplay, XkbUseCoreKbd, &delay, &interval)) {
            mRepeat.stop();
            return;
        }
        mRepeat.start(
            keycode, std::chrono::milliseconds(delay), std::chrono::milliseconds(interval), KeyRepeat::Clock::now());
    }

    // A repeated key-down of a key that is not grabbed; a combination that is
    // grabbed by now (a modifier went down meanwhile) repeats through its grab.
    void repeatPassedOnKey(int keycode) {
        const KeyMatch match = matchNow(keycode);
        if (match.slot != kNoSlot && !match.swallow) post(match);
    }

    KeyMatch matchNow(int keycode) const {
        return matchKeyMeasuring(
            mTable, mKeycodes[static_cast<std::size_t>(keycode)], true, [this] { return modifiers(); });
    }

    KeyMatch fire(int keycode) {
        if (mKeycodes[static_cast<std::size_t>(keycode)] == 0) return {};
        const KeyMatch match = matchNow(keycode);
        if (match.slot != kNoSlot) post(match);
        return match;
    }

    int32_t modifiers() const {
        int32_t code = 0;
        for (std::size_t keycode = 0; keycode < kKeycodeCount; ++keycode)
            if (mModifierDown[keycode]) code |= modifierBitOfVirtualKey(mKeycodes[keycode]);
        return code;
    }

    void post(const KeyMatch& match) {
        const auto window = static_cast<Window>(mTarget.load(std::memory_order_relaxed));
        if (window == 0) return;
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = mMessage;
        event.xclient.format = 32;
        event.xclient.data.l[0] = match.slot;
        event.xclient.data.l[1] = match.lParam;
        XSendEvent(mDisplay, window, False, NoEventMask, &event);
        XFlush(mDisplay);
    }

    // Keycode -> virtual key, the modifier masks, and which modifier keys are down now.
    void readLayout() {
        int minKeycode = 0;
        int maxKeycode = 0;
        XDisplayKeycodes(mDisplay, &minKeycode, &maxKeycode);
        int perKeycode = 0;
        KeySym* syms =
            XGetKeyboardMapping(mDisplay, static_cast<KeyCode>(minKeycode), maxKeycode - minKeycode + 1, &perKeycode);
        mKeycodes.fill(0);
        std::array<uint32_t, kKeycodeCount> plainKeysyms {};
        if (syms != nullptr) {
            for (int keycode = minKeycode; keycode <= maxKeycode && keycode < kKeycodeCount; ++keycode) {
                const int index = keycode - minKeycode;
                const auto at = static_cast<std::size_t>(keycode);
                plainKeysyms[at] = keysymAt(syms, perKeycode, index, 0);
                mKeycodes[at] = virtualKeyForKeyLevels(plainKeysyms[at], keysymAt(syms, perKeycode, index, 1));
            }
            XFree(syms);
        }

        mMasks = ModifierMasks {ShiftMask, ControlMask, 0, LockMask, 0};
        if (XModifierKeymap* map = XGetModifierMapping(mDisplay)) {
            for (int modifier = 0; modifier < 8; ++modifier) {
                for (int k = 0; k < map->max_keypermod; ++k) {
                    const KeyCode keycode = map->modifiermap[modifier * map->max_keypermod + k];
                    if (keycode == 0) continue;
                    const uint32_t keysym = plainKeysyms[keycode];
                    if (modifier >= Mod1MapIndex && mKeycodes[keycode] == vk::kMenu) mMasks.alt |= 1u << modifier;
                    if (keysym == 0xff7f) mMasks.numLock |= 1u << modifier;  // Num_Lock
                }
            }
            XFreeModifiermap(map);
        }

        char keys[32] = {};
        XQueryKeymap(mDisplay, keys);
        for (std::size_t keycode = 0; keycode < kKeycodeCount; ++keycode) {
            const bool down = (keys[keycode / 8] >> (keycode % 8)) & 1;
            mModifierDown[keycode] = down && isModifierKey(mKeycodes[keycode]);
        }
    }

    void applyGrabs() {
        const int screens = ScreenCount(mDisplay);
        for (int screen = 0; screen < screens; ++screen)
            XUngrabKey(mDisplay, AnyKey, AnyModifier, RootWindow(mDisplay, screen));
        mGrabbed.fill(false);
        mAwaitingGrabbedPress.fill(false);
        for (const KeyGrab& grab : planGrabs(mTable, mKeycodes, mMasks)) {
            for (int screen = 0; screen < screens; ++screen)
                XGrabKey(mDisplay,
                         grab.keycode,
                         grab.modifiers,
                         RootWindow(mDisplay, screen),
                         False,
                         GrabModeAsync,
                         GrabModeAsync);
            mGrabbed[static_cast<std::size_t>(grab.keycode)] = true;
        }
        XFlush(mDisplay);
    }

    Display* const mDisplay;
    const int mXiOpcode;
    const int mXkbEventBase;  // -1 without XKB
    const Atom mMessage;
    const int mWakeRead;
    const int mWakeWrite;
    const KeyTable& mTable;
    const std::atomic<KeytapWindow>& mTarget;

    // Owned by the watcher thread once it runs. Only modifier keys and
    // registered keys are ever remembered, never any other key.
    KeycodeVirtualKeys mKeycodes {};
    ModifierMasks mMasks {};
    std::array<bool, kKeycodeCount> mModifierDown {};
    std::array<bool, kKeycodeCount> mGrabbed {};
    std::array<bool, kKeycodeCount> mAwaitingGrabbedPress {};
    KeyRepeat mRepeat;

    std::thread mThread;
    std::atomic<bool> mStop {false};
    std::mutex mGenerationMutex;
    std::condition_variable mGenerationApplied;
    uint64_t mRequested = 0;
    uint64_t mApplied = 0;
};

}  // namespace

std::unique_ptr<HookBackend> X11Platform::open(const KeyTable& table, const std::atomic<KeytapWindow>& target) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    installErrorHandler(display);

    int xiOpcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    int major = 2;
    int minor = 2;
    int wake[2] = {-1, -1};
    if (!XQueryExtension(display, "XInputExtension", &xiOpcode, &firstEvent, &firstError) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2 || pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        removeErrorHandler();
        XCloseDisplay(display);
        return nullptr;
    }

    const Atom message = XInternAtom(display, KEYTAP_MESSAGE_NAME, False);
    unsigned char mask[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(mask, XI_RawKeyPress);
    XISetMask(mask, XI_RawKeyRelease);
    XIEventMask events {XIAllMasterDevices, static_cast<int>(sizeof mask), mask};
    XISelectEvents(display, DefaultRootWindow(display), &events, 1);

    // Xlib keeps XKB's keymap notifications to itself unless asked for them.
    int xkbOpcode = 0;
    int xkbEventBase = -1;
    int xkbError = 0;
    int xkbMajor = XkbMajorVersion;
    int xkbMinor = XkbMinorVersion;
    if (XkbQueryExtension(display, &xkbOpcode, &xkbEventBase, &xkbError, &xkbMajor, &xkbMinor)) {
        const unsigned long keymapEvents = XkbMapNotifyMask | XkbNewKeyboardNotifyMask;
        XkbSelectEvents(display, XkbUseCoreKbd, keymapEvents, keymapEvents);
    } else {
        xkbEventBase = -1;
    }
    XSync(display, False);
    return std::make_unique<X11Backend>(display, xiOpcode, xkbEventBase, message, wake[0], wake[1], table, target);
}

uint32_t X11Platform::lookUpMessageId() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 0;
    const Atom message = XInternAtom(display, KEYTAP_MESSAGE_NAME, False);
    XCloseDisplay(display);
    return static_cast<uint32_t>(message);
}

}  // namespace keytap
