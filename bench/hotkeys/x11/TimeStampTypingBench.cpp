// Types a time stamp again and again with the desktop's typer into another X
// client's focused window and measures, per stamp, the time from the call to
// the last key release the window receives, and the span of the X server's
// time stamps across the stamp's events (the spacing editors see). Prints
// the median and the 99th percentile; fails when a stamp arrives wrong.
//   hotkeys_timestamp_typing_bench [STAMPS]     (on an X display)

#include "player/TextTyper.h"

#include <QGuiApplication>

#include <poll.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5)];
}

struct Received {
    std::string text;
    Clock::time_point lastReleaseAt;
    Time firstServerTime = 0;
    Time lastServerTime = 0;
};

// Reads the window's key events until as many releases as characters have
// arrived; false after five seconds without.
bool receive(Display* display, std::size_t characters, Received& received) {
    std::size_t releases = 0;
    const Clock::time_point limit = Clock::now() + std::chrono::seconds(5);
    while (releases < characters) {
        if (XPending(display) == 0) {
            QCoreApplication::processEvents();
            pollfd fd {ConnectionNumber(display), POLLIN, 0};
            if (poll(&fd, 1, 5) == 0 && Clock::now() > limit) return false;
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
        if (event.type != KeyPress && event.type != KeyRelease) continue;
        if (received.firstServerTime == 0) received.firstServerTime = event.xkey.time;
        received.lastServerTime = event.xkey.time;
        if (event.type == KeyRelease) {
            ++releases;
            received.lastReleaseAt = Clock::now();
            continue;
        }
        char buffer[8];
        const int length = XLookupString(&event.xkey, buffer, sizeof buffer, nullptr, nullptr);
        received.text.append(buffer, static_cast<std::size_t>(std::max(length, 0)));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int stamps = argc > 1 ? std::atoi(argv[1]) : 100;
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const std::unique_ptr<lirabox::TextTyper> typer = lirabox::desktopTextTyper();

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 100, 0, 0, 0);
    XSelectInput(display, window, KeyPressMask | KeyReleaseMask);
    XMapWindow(display, window);
    XSync(display, False);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);

    const std::string stamp = "[00:00:11] ";
    std::vector<double> millis;
    std::vector<double> serverSpans;
    for (int i = 0; i < stamps; ++i) {
        Received received;
        const Clock::time_point start = Clock::now();
        typer->type(stamp);
        if (!receive(display, stamp.size(), received) || received.text != stamp) {
            std::fprintf(stderr, "stamp %d arrived as \"%s\"\n", i, received.text.c_str());
            return 1;
        }
        millis.push_back(std::chrono::duration<double, std::milli>(received.lastReleaseAt - start).count());
        serverSpans.push_back(static_cast<double>(received.lastServerTime - received.firstServerTime));
    }
    std::printf(
        "time stamp \"%s\" typed, %d stamps: call -> last key release median %.2f ms, p99 %.2f ms; "
        "server time span median %.0f ms, max %.0f ms\n",
        stamp.c_str(),
        stamps,
        percentile(millis, 0.5),
        percentile(millis, 0.99),
        percentile(serverSpans, 0.5),
        *std::max_element(serverSpans.begin(), serverSpans.end()));
    XCloseDisplay(display);
    return 0;
}
