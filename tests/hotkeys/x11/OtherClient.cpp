#include "OtherClient.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <stdexcept>

namespace lirabox::test {

void xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << "xdotool " << arguments;
}

OtherClient::OtherClient() : mDisplay(XOpenDisplay(nullptr)) {
    if (mDisplay == nullptr) throw std::runtime_error("no X display");
    const Window root = DefaultRootWindow(mDisplay);
    mWindow = XCreateSimpleWindow(mDisplay, root, 600, 500, 240, 120, 0, 0, 0);
    XStoreName(mDisplay, mWindow, "Other program");
    XSelectInput(mDisplay, mWindow, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
    XMapWindow(mDisplay, mWindow);
    XEvent event;
    do XWindowEvent(mDisplay, mWindow, StructureNotifyMask, &event);
    while (event.type != MapNotify);
    XAutoRepeatOff(mDisplay);
    takeFocus();
}

OtherClient::~OtherClient() {
    XDestroyWindow(mDisplay, mWindow);
    XCloseDisplay(mDisplay);
}

bool OtherClient::takeFocus() {
    XSetInputFocus(mDisplay, mWindow, RevertToParent, CurrentTime);
    XSync(mDisplay, False);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(mDisplay, &focus, &revert);
    return focus == mWindow;
}

std::vector<XId> OtherClient::pressesBeforeMarker() {
    std::vector<XId> presses;
    xdotool("key F12");
    for (int waited = 0; waited < 300;) {
        if (XPending(mDisplay) == 0) {
            pollfd fd {ConnectionNumber(mDisplay), POLLIN, 0};
            if (poll(&fd, 1, 100) == 0) ++waited;
            continue;
        }
        XEvent event;
        XNextEvent(mDisplay, &event);
        if (event.type != KeyPress || event.xkey.window != mWindow) continue;
        const KeySym key = XLookupKeysym(&event.xkey, 0);
        if (key == XK_F12) return presses;
        presses.push_back(key);
    }
    ADD_FAILURE() << "the marker key never reached the other client";
    return presses;
}

void OtherClient::sendClientMessage(XId window, XId type, long first, int format) {
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = format;
    if (format == 32) {
        event.xclient.data.l[0] = first;
        event.xclient.data.l[1] = 117;
    } else {
        event.xclient.data.b[0] = static_cast<char>(first);
    }
    XSendEvent(mDisplay, window, False, 0, &event);
    XFlush(mDisplay);
}

XId OtherClient::atom(const char* name) { return XInternAtom(mDisplay, name, False); }

}  // namespace lirabox::test
