// The time stamp typed with XTEST into the window that has the focus.
//
// Each character is typed on a spare key (one that no layout uses) bound for
// the moment to that character alone, at one level in one group: whatever
// the user holds meanwhile — Shift, AltGr, the next word's keys — that key
// gives the character, and the typing never presses or releases a key of the
// user's. Where too few spare keys are free, the layout's own keys are used
// (with Shift and AltGr as needed, group and locked modifiers included), and
// the text then also waits while the user holds Shift or AltGr. The clipboard
// is never used.
//
// The X server plays the key presses a millisecond apart, each key released
// before the next goes down: some programs (LibreOffice) take a second press
// of a key arriving with the same server time as its release for a repeat
// and drop it. Pressed and released in the same millisecond, a stamp takes
// about as many milliseconds as it has characters, which leaves the typist's
// next key little room to come between. The server delays only this
// connection's requests; the UI thread goes on.

#include "player/HeldBackText.h"
#include "player/TextTyper.h"

// Qt before Xlib, whose macros (Status, Bool) would break Qt's headers.
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include "KeyboardLayout.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <map>
#include <utility>

namespace lirabox::x11 {
namespace {

// Programs look a key up when they handle it, which may be a little after it
// was typed: a spare key keeps its symbol this long after the last typing.
constexpr auto kSpareKeyHold = std::chrono::milliseconds(500);
// Before each key press (and a held Shift or AltGr), in the X server's time.
constexpr unsigned long kKeyGapMs = 1;

// The UTF-8 text as code points; a broken sequence is skipped.
std::vector<char32_t> codePoints(const std::string& text) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
            ++i;
            continue;
        }
        char32_t point = length == 1 ? lead : lead & (0x7f >> length);
        for (int k = 1; k < length; ++k) point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
        points.push_back(point);
        i += static_cast<std::size_t>(length);
    }
    return points;
}

// Latin-1 characters are their own keysyms; the rest of Unicode has its own range.
KeySym keysymOf(char32_t point) {
    if ((point >= 0x20 && point <= 0x7e) || (point >= 0xa0 && point <= 0xff)) return point;
    return 0x01000000 | point;
}

std::vector<KeySym> symbolsOf(const std::string& text) {
    std::vector<KeySym> symbols;
    for (const char32_t point : codePoints(text)) symbols.push_back(keysymOf(point));
    return symbols;
}

// Modifier keys that only choose a level (or lock one): a key with one level
// gives the same symbol whatever they do.
bool choosesLevel(KeySym symbol) {
    switch (symbol) {
    case XK_Shift_L:
    case XK_Shift_R:
    case XK_Shift_Lock:
    case XK_Caps_Lock:
    case XK_Num_Lock:
    case XK_ISO_Level3_Shift:
    case XK_ISO_Level3_Latch:
    case XK_ISO_Level3_Lock:
    case XK_Mode_switch:
    case XK_ISO_Level5_Shift:
    case XK_ISO_Level5_Latch:
    case XK_ISO_Level5_Lock: return true;
    default: return false;
    }
}

struct ModifiersDown {
    bool level = false;  // Shift, AltGr and the like
    bool other = false;  // Ctrl, Alt, Super and the like
};

ModifiersDown modifiersDown(Display* display) {
    std::array<char, 32> keys {};
    XQueryKeymap(display, keys.data());
    ModifiersDown down;
    XModifierKeymap* modifiers = XGetModifierMapping(display);
    if (modifiers == nullptr) return down;
    for (int i = 0; i < 8 * modifiers->max_keypermod; ++i) {
        const KeyCode key = modifiers->modifiermap[i];
        if (key == 0 || ((keys[key / 8] >> (key % 8)) & 1) == 0) continue;
        int perKey = 0;
        KeySym* symbols = XGetKeyboardMapping(display, key, 1, &perKey);
        const KeySym symbol = symbols != nullptr && perKey > 0 ? symbols[0] : NoSymbol;
        if (symbols != nullptr) XFree(symbols);
        (choosesLevel(symbol) ? down.level : down.other) = true;
    }
    XFreeModifiermap(modifiers);
    return down;
}

// The window with the keyboard focus; 0 for none or the pointer's window.
std::uintptr_t focusWindow(Display* display) {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    return focus == PointerRoot ? 0 : focus;
}

class XTestTyper final : public TextTyper {
public:
    XTestTyper() {
        mPoll.setInterval(HeldBackText::kPollInterval);
        QObject::connect(&mPoll, &QTimer::timeout, [this] { poll(); });
        mRestore.setSingleShot(true);
        QObject::connect(&mRestore, &QTimer::timeout, [this] { restoreSpareKeys(); });
    }

    ~XTestTyper() override {
        if (mDisplay == nullptr) return;
        restoreSpareKeys();
        XCloseDisplay(mDisplay);
    }

    void type(const std::string& text) override {
        if (!connected()) return;
        mHeld.add(text, look());
        poll();
    }

private:
    bool connected() {
        if (mDisplay != nullptr || mConnectTried) return mDisplay != nullptr;
        mConnectTried = true;
        mDisplay = XOpenDisplay(nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        if (mDisplay != nullptr && XTestQueryExtension(mDisplay, &event, &error, &major, &minor)) return true;
        HeldBackText::notTyped(mDisplay == nullptr ? "no X display" : "the X server has no XTEST");
        if (mDisplay != nullptr) XCloseDisplay(mDisplay);
        mDisplay = nullptr;
        return false;
    }

    DesktopLook look() {
        const ModifiersDown down = modifiersDown(mDisplay);
        DesktopLook look;
        look.modifierDown = down.other || (down.level && !fitsOnSpareKeys(mHeld.text()));
        look.frontWindow = focusWindow(mDisplay);
        look.ownWindowInFront = ownWindow(look.frontWindow);
        return look;
    }

    // Qt has no focus window for a moment while a menu closes: the X focus
    // on one of the player's windows counts too.
    static bool ownWindow(std::uintptr_t window) {
        if (qGuiApp == nullptr) return false;
        if (QGuiApplication::focusWindow() != nullptr) return true;
        const QWindowList windows = QGuiApplication::allWindows();
        return std::ranges::any_of(
            windows, [window](const QWindow* own) { return own->handle() != nullptr && own->winId() == window; });
    }

    void poll() {
        if (const std::optional<std::string> text = mHeld.take(look())) typeNow(*text);
        if (mHeld.empty()) {
            mPoll.stop();
        } else if (!mPoll.isActive()) {
            mPoll.start();
        }
        discardEvents();
    }

    void typeNow(const std::string& text) {
        const KeyboardLayout layout(mDisplay);
        if (!layout.valid()) {
            HeldBackText::notTyped("the X server has no XKB");
            return;
        }
        const std::vector<KeySym> symbols = symbolsOf(text);
        bindSpareKeys(layout, symbols);
        for (const KeySym symbol : symbols) {
            const auto bound = mBound.find(symbol);
            const std::optional<Keystroke> stroke =
                bound != mBound.end() ? Keystroke {bound->second, {}} : layout.strokeFor(symbol);
            if (!stroke) continue;
            for (const KeyCode held : stroke->held) XTestFakeKeyEvent(mDisplay, held, True, kKeyGapMs);
            XTestFakeKeyEvent(mDisplay, stroke->keycode, True, kKeyGapMs);
            XTestFakeKeyEvent(mDisplay, stroke->keycode, False, 0);
            for (auto held = stroke->held.rbegin(); held != stroke->held.rend(); ++held) {
                XTestFakeKeyEvent(mDisplay, *held, False, kKeyGapMs);
            }
        }
        XFlush(mDisplay);
        if (!mBound.empty()) mRestore.start(kSpareKeyHold);
    }

    std::vector<KeyCode> boundKeys() const {
        std::vector<KeyCode> keys;
        for (const auto& [symbol, key] : mBound) keys.push_back(key);
        return keys;
    }

    // The text's symbols that have no spare key yet, each once.
    std::vector<KeySym> unboundSymbols(const std::vector<KeySym>& symbols) const {
        std::vector<KeySym> unbound;
        for (const KeySym symbol : symbols) {
            if (!mBound.contains(symbol) && std::ranges::find(unbound, symbol) == unbound.end()) {
                unbound.push_back(symbol);
            }
        }
        return unbound;
    }

    bool fitsOnSpareKeys(const std::string& text) const {
        const KeyboardLayout layout(mDisplay);
        const std::size_t wanted = unboundSymbols(symbolsOf(text)).size();
        return layout.spareKeys(boundKeys(), wanted).size() == wanted;
    }

    // Binds a spare key to each symbol that has none, as far as spare keys go.
    void bindSpareKeys(const KeyboardLayout& layout, const std::vector<KeySym>& symbols) {
        // A new layout may have taken a bound key over: it is no longer ours.
        std::erase_if(mBound, [&](const auto& bound) { return layout.plainSymbol(bound.second) != bound.first; });
        const std::vector<KeySym> unbound = unboundSymbols(symbols);
        const std::vector<KeyCode> spares = layout.spareKeys(boundKeys(), unbound.size());
        std::vector<std::pair<KeyCode, KeySym>> mapping;
        for (std::size_t i = 0; i < spares.size(); ++i) {
            mBound.emplace(unbound[i], spares[i]);
            mapping.emplace_back(spares[i], unbound[i]);
        }
        mapKeys(mapping);
    }

    void restoreSpareKeys() {
        mRestore.stop();
        std::vector<std::pair<KeyCode, KeySym>> mapping;
        for (const KeyCode key : boundKeys()) mapping.emplace_back(key, NoSymbol);
        mBound.clear();
        mapKeys(mapping);
        discardEvents();
    }

    // Each key gets this one symbol (a key of one level); one request for
    // each run of neighbouring keys, since every request makes every client
    // read the keyboard map again.
    void mapKeys(std::vector<std::pair<KeyCode, KeySym>> mapping) {
        std::ranges::sort(mapping);
        for (std::size_t first = 0; first < mapping.size();) {
            std::vector<KeySym> run {mapping[first].second};
            std::size_t next = first + 1;
            while (next < mapping.size() && mapping[next].first == mapping[next - 1].first + 1) {
                run.push_back(mapping[next++].second);
            }
            XChangeKeyboardMapping(mDisplay, mapping[first].first, 1, run.data(), static_cast<int>(run.size()));
            first = next;
        }
        XFlush(mDisplay);
    }

    // This connection asks for no events, but XKB's own notices arrive all the same.
    void discardEvents() {
        while (XPending(mDisplay) > 0) {
            XEvent event;
            XNextEvent(mDisplay, &event);
        }
    }

    Display* mDisplay = nullptr;
    bool mConnectTried = false;
    HeldBackText mHeld;
    QTimer mPoll;
    QTimer mRestore;
    // The spare keys bound now, by their symbol.
    std::map<KeySym, KeyCode> mBound;
};

}  // namespace
}  // namespace lirabox::x11

namespace lirabox {

std::unique_ptr<TextTyper> desktopTextTyper() { return std::make_unique<x11::XTestTyper>(); }

}  // namespace lirabox
