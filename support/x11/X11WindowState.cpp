#include "X11WindowState.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace lirabox::x11 {
namespace {

constexpr long kNetWmStateRemove = 0;
constexpr long kNetWmStateAdd = 1;
constexpr long kSourceApplication = 1;

std::atomic<bool> gErrorSeen {false};

int recordError(Display*, XErrorEvent*) {
    gErrorSeen = true;
    return 0;
}

// Turns X errors into a flag while it lives, instead of Xlib's exit.
class ErrorTrap {
public:
    ErrorTrap() : mPrevious(XSetErrorHandler(recordError)) { gErrorSeen = false; }
    ~ErrorTrap() { XSetErrorHandler(mPrevious); }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;
    bool failed() const { return gErrorSeen; }

private:
    XErrorHandler mPrevious;
};

class Connection {
public:
    Connection() : mDisplay(XOpenDisplay(nullptr)) {}
    ~Connection() {
        if (mDisplay != nullptr) XCloseDisplay(mDisplay);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Display* get() const { return mDisplay; }

private:
    Display* mDisplay;
};

std::vector<Atom> atomList(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<Atom> atoms;
    if (XGetWindowProperty(
            display, window, property, 0, 1024, False, XA_ATOM, &type, &format, &count, &remaining, &data) == Success &&
        type == XA_ATOM && format == 32 && data != nullptr) {
        const auto* values = reinterpret_cast<const Atom*>(data);
        atoms.assign(values, values + count);
    }
    if (data != nullptr) XFree(data);
    return atoms;
}

// Whether the window manager looks after the window (ICCCM WM_STATE not withdrawn).
bool isManaged(Display* display, Window window) {
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    bool managed = false;
    if (XGetWindowProperty(display, window, wmState, 0, 2, False, wmState, &type, &format, &count, &remaining, &data) ==
            Success &&
        format == 32 && count >= 1 && data != nullptr) {
        managed = reinterpret_cast<const long*>(data)[0] != WithdrawnState;
    }
    if (data != nullptr) XFree(data);
    return managed;
}

}  // namespace

void setWindowAbove(unsigned long window, bool above) {
    const Connection connection;
    Display* display = connection.get();
    if (display == nullptr) return;
    const ErrorTrap trap;
    XWindowAttributes attributes {};
    if (XGetWindowAttributes(display, window, &attributes) == 0 || trap.failed()) return;

    const Atom netWmState = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom netWmStateAbove = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    if (attributes.map_state != IsUnmapped || isManaged(display, window)) {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = netWmState;
        event.xclient.format = 32;
        event.xclient.data.l[0] = above ? kNetWmStateAdd : kNetWmStateRemove;
        event.xclient.data.l[1] = static_cast<long>(netWmStateAbove);
        event.xclient.data.l[2] = 0;
        event.xclient.data.l[3] = kSourceApplication;
        XSendEvent(display, attributes.root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        std::vector<Atom> states = atomList(display, window, netWmState);
        states.erase(std::remove(states.begin(), states.end(), netWmStateAbove), states.end());
        if (above) states.push_back(netWmStateAbove);
        XChangeProperty(display,
                        window,
                        netWmState,
                        XA_ATOM,
                        32,
                        PropModeReplace,
                        reinterpret_cast<const unsigned char*>(states.data()),
                        static_cast<int>(states.size()));
    }
    XSync(display, False);
}

}  // namespace lirabox::x11
