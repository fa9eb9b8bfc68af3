#pragma once
// Text a typer holds back until the keyboard lets it be typed, the same on
// every desktop.
//
// The shortcut that asked for the text is usually still down when its command
// runs, and its modifiers would turn the typed characters into shortcuts of
// the focused program (Ctrl+[ and the like). The text therefore waits until
// no key is down; a key held longer than a second that is no modifier (a foot
// pedal that is a keyboard, say) does not change the characters and is waited
// for no longer. Typed into the player's own window, the blank would press
// whichever button has the focus, so while one of its windows is in front the
// text waits for the user to go to the editor. After ten seconds of waiting
// the text is dropped with a line on stderr, never typed wrong or into the
// player.

#include <chrono>
#include <optional>
#include <string>

namespace lirabox {

// What the typer sees of the keyboard at one look.
struct KeysDown {
    bool any = false;
    bool modifier = false;
};

class HeldBackText {
public:
    // How often the typer looks again while text is held back.
    static constexpr std::chrono::milliseconds kPollInterval{10};

    // The wait starts with the first text added.
    void add(const std::string& text);
    bool empty() const { return mText.empty(); }

    // One look at the keyboard and the windows: the text to type now, which
    // is then no longer held; nothing while it must wait, or once it was dropped.
    std::optional<std::string> take(KeysDown down, bool ownWindowInFront);

    // A line on stderr: the time stamp was not typed, and why.
    static void notTyped(const char* why);

private:
    using Clock = std::chrono::steady_clock;
    std::string mText;
    Clock::time_point mWaitingSince;
};

}  // namespace lirabox
