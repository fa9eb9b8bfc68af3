#pragma once
// Another X client beside the program under test: a window of its own on a
// connection of its own, which holds the keyboard focus and sees the keys
// that reach it. Keys are pressed with xdotool, as on a user's desktop.

#include <string>
#include <vector>

using Display = struct _XDisplay;

namespace lirabox::test {

// X ids as Xlib has them, without Xlib's macros in every test.
using XId = unsigned long;

// Runs "xdotool ARGUMENTS"; fails the test when xdotool does.
void xdotool(const std::string& arguments);

class OtherClient {
public:
    // Maps the window, gives it the focus and turns key auto-repeat off, so
    // a key is never reported twice on a busy machine.
    OtherClient();
    ~OtherClient();
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

    // Gives the window the focus again (the program under test may have
    // taken it); true when the window has it.
    bool takeFocus();

    // Presses F12, which nobody registers, and returns the keys pressed
    // before it that reached the window (keysyms, in order): whatever the
    // keys pressed earlier did to this window has happened by then.
    std::vector<XId> pressesBeforeMarker();

    // Sends `window` a ClientMessage the way the hook library does
    // (XSendEvent, no event mask): `first` is the first value, and for format
    // 32 the second is 117.
    void sendClientMessage(XId window, XId type, long first, int format = 32);

    // An atom on this client's connection.
    XId atom(const char* name);
    Display* display() const { return mDisplay; }
    XId window() const { return mWindow; }

private:
    Display* mDisplay = nullptr;
    XId mWindow = 0;
};

}  // namespace lirabox::test
