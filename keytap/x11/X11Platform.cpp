#include "x11/X11Platform.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "VirtualKeys.h"
#include "x11/GrabPlan.h"
#include "x11/KeyRepeat.h"

namespace keytap {
namespace {

// Xlib's error handler is one per process. Errors on the watcher's own
// connection are expected (BadWindow once the target window is gone,
// BadAccess when another program already grabs a combination) and dropped;
// every other error goes to the handler that was there before.
std::atomic<Display*> watcherDisplay{nullptr};
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
        : display_(display), xiOpcode_(xiOpcode), xkbEventBase_(xkbEventBase), message_(message),
          wakeRead_(wakeRead), wakeWrite_(wakeWrite), table_(table), target_(target) {}

    ~X11Backend() override {
        if (thread_.joinable()) {
            stop_.store(true);
            wake();
            thread_.join();
        }
        XSync(display_, True);  // late errors still reach our handler
        removeErrorHandler();
        XCloseDisplay(display_);
        close(wakeRead_);
        close(wakeWrite_);
    }

    void start() override { thread_ = std::thread([this] { run(); }); }

    void tableChanged() override {
        std::unique_lock lock(generationMutex_);
        const uint64_t wanted = ++requested_;
        wake();
        // The grabs follow within one round trip to the X server; the bound
        // only matters if the server stops answering.
        generationApplied_.wait_for(lock, std::chrono::seconds(1), [&] { return applied_ >= wanted; });
    }

    uint32_t messageId() const override { return static_cast<uint32_t>(message_); }

private:
    void wake() {
        const char byte = 1;
        // A full pipe already holds a wake-up.
        [[maybe_unused]] ssize_t written = write(wakeWrite_, &byte, 1);
    }

    void drainWakeUps() {
        char buffer[64];
        while (read(wakeRead_, buffer, sizeof buffer) > 0) {
        }
    }

    void run() {
        readLayout();
        applyGrabs();
        pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        while (!stop_.load()) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                handle(event);
            }
            const int repeatKeycode = repeat_.due(KeyRepeat::Clock::now());
            if (repeatKeycode >= 0) repeatPassedOnKey(repeatKeycode);
            if (poll(fds, 2, repeat_.timeout(KeyRepeat::Clock::now())) < 0 && errno != EINTR) break;
            if (fds[1].revents & POLLIN) {
                drainWakeUps();
                if (stop_.load()) break;
                uint64_t wanted = 0;
                {
                    std::lock_guard lock(generationMutex_);
                    wanted = requested_;
                }
                applyGrabs();
                XSync(display_, False);
                {
                    std::lock_guard lock(generationMutex_);
                    applied_ = wanted;
                }
                generationApplied_.notify_all();
            }
        }
        XUngrabKeyboard(display_, CurrentTime);
        XFlush(display_);
    }

    void handle(XEvent& event) {
        switch (event.type) {
        case GenericEvent:
            if (event.xcookie.extension == xiOpcode_ && XGetEventData(display_, &event.xcookie)) {
                const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
                if (raw->evtype == XI_RawKeyPress) onRawPress(raw->detail);
                else if (raw->evtype == XI_RawKeyRelease) onRawRelease(raw->detail);
                XFreeEventData(display_, &event.xcookie);
            }
            break;
        case KeyPress:
            onGrabbedPress(static_cast<int>(event.xkey.keycode));
            break;
        case MappingNotify:
            if (event.xmapping.request != MappingPointer) {
                XRefreshKeyboardMapping(&event.xmapping);
                keymapChanged();
            }
            break;
        default:
            // With XKB, keymap changes come as XKB events instead.
            if (xkbEventBase_ >= 0 && event.type == xkbEventBase_) keymapChanged();
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
        const bool modifier = isModifierKey(keycodes_[index]);
        if (modifier) modifierDown_[index] = true;
        // A grabbed press also arrives as a KeyPress right after this; that
        // one must not count twice.
        if (grabbed_[index]) awaitingGrabbedPress_[index] = true;
        const KeyMatch match = fire(keycode);
        if (match.slot != kNoSlot && !match.swallow) {
            startRepeat(keycode);
        } else if (!modifier) {
            // The server now repeats this key instead (modifiers do not take it over).
            repeat_.stop();
        }
    }

    void onRawRelease(int keycode) {
        if (!isKeycode(keycode)) return;
        const auto index = static_cast<std::size_t>(keycode);
        modifierDown_[index] = false;
        awaitingGrabbedPress_[index] = false;
        repeat_.released(keycode);
    }

    // A press of a grabbed (swallowed) combination: the twin of a raw press,
    // or an auto-repeated key-down (the server makes no raw events for those).
    void onGrabbedPress(int keycode) {
        if (!isKeycode(keycode)) return;
        const auto index = static_cast<std::size_t>(keycode);
        const bool repeated = !awaitingGrabbedPress_[index];
        awaitingGrabbedPress_[index] = false;
        if (repeated) fire(keycode);
        // Ending the grab at once lets the key-up reach the focused program.
        XUngrabKeyboard(display_, CurrentTime);
        XFlush(display_);
    }

    // Repeats a passed-on key only where the server repeats it for the focused program too.
    void startRepeat(int keycode) {
        XKeyboardState state{};
        XGetKeyboardControl(display_, &state);
        const bool keyRepeats = (state.auto_repeats[keycode / 8] >> (keycode % 8)) & 1;
        unsigned delay = 0;
        unsigned interval = 0;
        if (state.global_auto_repeat != AutoRepeatModeOn || !keyRepeats ||
            !XkbGetAutoRepeatRate(display_, XkbUseCoreKbd, &delay, &interval)) {
            repeat_.stop();
            return;
        }
        repeat_.start(keycode, std::chrono::milliseconds(delay), std::chrono::milliseconds(interval),
                      KeyRepeat::Clock::now());
    }

    // A repeated key-down of a key that is not grabbed; a combination that is
    // grabbed by now (a modifier went down meanwhile) repeats through its grab.
    void repeatPassedOnKey(int keycode) {
        const KeyMatch match = matchNow(keycode);
        if (match.slot != kNoSlot && !match.swallow) post(match);
    }

    KeyMatch matchNow(int keycode) const {
        return matchKeyMeasuring(table_, keycodes_[static_cast<std::size_t>(keycode)], true,
                                 [this] { return modifiers(); });
    }

    KeyMatch fire(int keycode) {
        if (keycodes_[static_cast<std::size_t>(keycode)] == 0) return {};
        const KeyMatch match = matchNow(keycode);
        if (match.slot != kNoSlot) post(match);
        return match;
    }

    int32_t modifiers() const {
        int32_t code = 0;
        for (std::size_t keycode = 0; keycode < kKeycodeCount; ++keycode)
            if (modifierDown_[keycode]) code |= modifierBitOfVirtualKey(keycodes_[keycode]);
        return code;
    }

    void post(const KeyMatch& match) {
        const auto window = static_cast<Window>(target_.load(std::memory_order_relaxed));
        if (window == 0) return;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = message_;
        event.xclient.format = 32;
        event.xclient.data.l[0] = match.slot;
        event.xclient.data.l[1] = match.lParam;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XFlush(display_);
    }

    // Keycode -> virtual key, the modifier masks, and which modifier keys are down now.
    void readLayout() {
        int minKeycode = 0;
        int maxKeycode = 0;
        XDisplayKeycodes(display_, &minKeycode, &maxKeycode);
        int perKeycode = 0;
        KeySym* syms = XGetKeyboardMapping(display_, static_cast<KeyCode>(minKeycode),
                                           maxKeycode - minKeycode + 1, &perKeycode);
        keycodes_.fill(0);
        std::array<uint32_t, kKeycodeCount> plainKeysyms{};
        if (syms != nullptr) {
            for (int keycode = minKeycode; keycode <= maxKeycode && keycode < kKeycodeCount; ++keycode) {
                const int index = keycode - minKeycode;
                const auto at = static_cast<std::size_t>(keycode);
                plainKeysyms[at] = keysymAt(syms, perKeycode, index, 0);
                keycodes_[at] = virtualKeyForKeyLevels(plainKeysyms[at], keysymAt(syms, perKeycode, index, 1));
            }
            XFree(syms);
        }

        masks_ = ModifierMasks{ShiftMask, ControlMask, 0, LockMask, 0};
        if (XModifierKeymap* map = XGetModifierMapping(display_)) {
            for (int modifier = 0; modifier < 8; ++modifier) {
                for (int k = 0; k < map->max_keypermod; ++k) {
                    const KeyCode keycode = map->modifiermap[modifier * map->max_keypermod + k];
                    if (keycode == 0) continue;
                    const uint32_t keysym = plainKeysyms[keycode];
                    if (modifier >= Mod1MapIndex && keycodes_[keycode] == vk::kMenu) masks_.alt |= 1u << modifier;
                    if (keysym == 0xff7f) masks_.numLock |= 1u << modifier;  // Num_Lock
                }
            }
            XFreeModifiermap(map);
        }

        char keys[32] = {};
        XQueryKeymap(display_, keys);
        for (std::size_t keycode = 0; keycode < kKeycodeCount; ++keycode) {
            const bool down = (keys[keycode / 8] >> (keycode % 8)) & 1;
            modifierDown_[keycode] = down && isModifierKey(keycodes_[keycode]);
        }
    }

    void applyGrabs() {
        const int screens = ScreenCount(display_);
        for (int screen = 0; screen < screens; ++screen)
            XUngrabKey(display_, AnyKey, AnyModifier, RootWindow(display_, screen));
        grabbed_.fill(false);
        awaitingGrabbedPress_.fill(false);
        for (const KeyGrab& grab : planGrabs(table_, keycodes_, masks_)) {
            for (int screen = 0; screen < screens; ++screen)
                XGrabKey(display_, grab.keycode, grab.modifiers, RootWindow(display_, screen), False,
                         GrabModeAsync, GrabModeAsync);
            grabbed_[static_cast<std::size_t>(grab.keycode)] = true;
        }
        XFlush(display_);
    }

    Display* const display_;
    const int xiOpcode_;
    const int xkbEventBase_;  // -1 without XKB
    const Atom message_;
    const int wakeRead_;
    const int wakeWrite_;
    const KeyTable& table_;
    const std::atomic<KeytapWindow>& target_;

    // Owned by the watcher thread once it runs. Only modifier keys and
    // registered keys are ever remembered, never any other key.
    KeycodeVirtualKeys keycodes_{};
    ModifierMasks masks_{};
    std::array<bool, kKeycodeCount> modifierDown_{};
    std::array<bool, kKeycodeCount> grabbed_{};
    std::array<bool, kKeycodeCount> awaitingGrabbedPress_{};
    KeyRepeat repeat_;

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex generationMutex_;
    std::condition_variable generationApplied_;
    uint64_t requested_ = 0;
    uint64_t applied_ = 0;
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
        XIQueryVersion(display, &major, &minor) != Success || major < 2 ||
        pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        removeErrorHandler();
        XCloseDisplay(display);
        return nullptr;
    }

    const Atom message = XInternAtom(display, KEYTAP_MESSAGE_NAME, False);
    unsigned char mask[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(mask, XI_RawKeyPress);
    XISetMask(mask, XI_RawKeyRelease);
    XIEventMask events{XIAllMasterDevices, static_cast<int>(sizeof mask), mask};
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
    return std::make_unique<X11Backend>(display, xiOpcode, xkbEventBase, message, wake[0], wake[1], table,
                                        target);
}

uint32_t X11Platform::lookUpMessageId() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 0;
    const Atom message = XInternAtom(display, KEYTAP_MESSAGE_NAME, False);
    XCloseDisplay(display);
    return static_cast<uint32_t>(message);
}

}  // namespace keytap
