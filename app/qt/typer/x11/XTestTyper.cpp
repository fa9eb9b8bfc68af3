// The time stamp typed with XTEST, as key presses of the current layout.
//
// Keys are looked up in the layout the user has now (group and locked
// modifiers included); a character the layout lacks is typed on a spare key
// bound to it for a moment. The clipboard is never used.
//
// While a swallowed key is down the keyboard is grabbed by the shortcut
// watcher, so typed keys would not reach the focused window at all: the text
// is held back until the keyboard is free (player/HeldBackText.h).

#include "player/HeldBackText.h"
#include "player/TextTyper.h"

// Qt before Xlib, whose macros (Status, Bool) would break Qt's headers.
#include <QGuiApplication>
#include <QTimer>

#include "KeyboardLayout.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <map>

namespace lirabox::x11 {
namespace {

// Programs look a key up when they handle it, which may be a little after it
// was typed: a spare key keeps its symbol this long.
constexpr auto kSpareKeyHold = std::chrono::milliseconds(500);

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

KeysDown keysDown(Display* display) {
    std::array<char, 32> keys{};
    XQueryKeymap(display, keys.data());
    KeysDown down;
    down.any = std::ranges::any_of(keys, [](char bits) { return bits != 0; });
    if (XModifierKeymap* modifiers = XGetModifierMapping(display)) {
        for (int i = 0; i < 8 * modifiers->max_keypermod; ++i) {
            const KeyCode key = modifiers->modifiermap[i];
            down.modifier = down.modifier || (key != 0 && ((keys[key / 8] >> (key % 8)) & 1));
        }
        XFreeModifiermap(modifiers);
    }
    return down;
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
        mHeld.add(text);
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

    void poll() {
        const bool ownFocus = qGuiApp != nullptr && QGuiApplication::focusWindow() != nullptr;
        if (const std::optional<std::string> text = mHeld.take(keysDown(mDisplay), ownFocus)) typeNow(*text);
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
        std::map<KeySym, KeyCode> spares;
        for (const char32_t point : codePoints(text)) {
            const KeySym symbol = keysymOf(point);
            std::optional<Keystroke> stroke = layout.strokeFor(symbol);
            if (!stroke) stroke = spareStroke(layout, symbol, spares);
            if (!stroke) continue;
            for (const KeyCode held : stroke->held) XTestFakeKeyEvent(mDisplay, held, True, CurrentTime);
            XTestFakeKeyEvent(mDisplay, stroke->keycode, True, CurrentTime);
            XTestFakeKeyEvent(mDisplay, stroke->keycode, False, CurrentTime);
            for (auto held = stroke->held.rbegin(); held != stroke->held.rend(); ++held) {
                XTestFakeKeyEvent(mDisplay, *held, False, CurrentTime);
            }
        }
        XFlush(mDisplay);
        if (!mBoundSpares.empty()) mRestore.start(kSpareKeyHold);
    }

    // The symbol on a spare key, at both shift levels; bound once per text.
    std::optional<Keystroke> spareStroke(const KeyboardLayout& layout, KeySym symbol,
                                         std::map<KeySym, KeyCode>& spares) {
        if (const auto bound = spares.find(symbol); bound != spares.end()) return Keystroke{bound->second, {}};
        if (mRestore.isActive()) restoreSpareKeys();  // an earlier text's keys, now free again
        const std::optional<KeyCode> spare = layout.spareKey(mBoundSpares);
        if (!spare) return std::nullopt;
        std::array<KeySym, 2> symbols{symbol, symbol};
        XChangeKeyboardMapping(mDisplay, *spare, static_cast<int>(symbols.size()), symbols.data(), 1);
        mBoundSpares.push_back(*spare);
        spares.emplace(symbol, *spare);
        return Keystroke{*spare, {}};
    }

    void restoreSpareKeys() {
        mRestore.stop();
        std::array<KeySym, 2> none{NoSymbol, NoSymbol};
        for (const KeyCode spare : mBoundSpares) {
            XChangeKeyboardMapping(mDisplay, spare, static_cast<int>(none.size()), none.data(), 1);
        }
        mBoundSpares.clear();
        XFlush(mDisplay);
        discardEvents();
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
    std::vector<KeyCode> mBoundSpares;
};

}  // namespace
}  // namespace lirabox::x11

namespace lirabox {

std::unique_ptr<TextTyper> desktopTextTyper() { return std::make_unique<x11::XTestTyper>(); }

}  // namespace lirabox
