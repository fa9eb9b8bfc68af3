#pragma once
// Text a typer holds back until it may be typed, the same on every desktop.
//
// The text belongs in the window that was in front when its command ran: it
// is typed there as soon as the keyboard lets it, and dropped with a line on
// stderr once another window comes to the front. Keys that only choose a
// level (Shift, AltGr) do not hold it back where the typer types on keys that
// ignore them; a held Ctrl, Alt or the like would turn the characters into
// shortcuts of the focused program (Ctrl+[ and the like), so the text waits
// until they are up. Typed into the player's own window, the blank would
// press whichever button has the focus: text asked for while one of its
// windows is in front (a menu item) waits for the user to go to another
// window and goes there. After ten seconds of waiting the text is dropped
// with a line on stderr, never typed wrong or into the player.
//
// Not thread-safe: one thread (the UI thread) adds and takes.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace lirabox {

// What the typer sees of the desktop at one look.
struct DesktopLook {
    // A modifier is down that would change what typed keys mean.
    bool modifierDown = false;
    // One of the player's own windows has the keyboard focus.
    bool ownWindowInFront = false;
    // The top-level window that has the keyboard focus, as the desktop
    // names it; 0 when none.
    std::uintptr_t frontWindow = 0;
};

class HeldBackText {
public:
    // How often the typer looks again while text is held back.
    static constexpr std::chrono::milliseconds kPollInterval {10};

    // Text asked for at this look. Text still held for another window is
    // dropped first, with a line on stderr; the wait starts with the first
    // text held.
    void add(const std::string& text, const DesktopLook& atCommand);
    bool empty() const { return mText.empty(); }
    const std::string& text() const { return mText; }

    // One look at the desktop: the text to type now, which is then no longer
    // held; nothing while it must wait, or once it was dropped.
    std::optional<std::string> take(const DesktopLook& now);

    // A line on stderr: the time stamp was not typed, and why.
    static void notTyped(const char* why);

private:
    void drop(const char* why);

    using Clock = std::chrono::steady_clock;
    std::string mText;
    // The window the text goes to; none while any other than the player's may take it.
    std::optional<std::uintptr_t> mTarget;
    Clock::time_point mWaitingSince;
};

}  // namespace lirabox
