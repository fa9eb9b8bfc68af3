// Presses a registered key with xdotool again and again and measures the time
// until the ClientMessage reaches the target window. Prints the median and the
// 99th percentile, for a key that is passed on and for one that is swallowed.
//   keytap_latency_bench LIBKEYTAP [PRESSES]     (on an X display)

#include <dlfcn.h>
#include <poll.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "keytap/Keytap.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Api {
    decltype(&InitHook) initHook;
    decltype(&TerminateHook) terminateHook;
    decltype(&RegistKey) registKey;
};

bool waitForMessage(Display* display, Window target, Atom message) {
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.window == target && event.xclient.message_type == message)
                return true;
        }
        pollfd fd {ConnectionNumber(display), POLLIN, 0};
        if (poll(&fd, 1, 10000) == 0) return false;
    }
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

int measure(const Api& api, Display* display, Window target, Atom message, FILE* xdotool, int presses, int keyDestroy) {
    const ShortcutKeyRecord record {0, 120, 0, keyDestroy};  // F9
    api.registKey(&record);
    std::vector<double> millis;
    for (int i = 0; i < presses; ++i) {
        const Clock::time_point start = Clock::now();
        std::fputs("key --delay 0 F9\n", xdotool);
        std::fflush(xdotool);
        if (!waitForMessage(display, target, message)) {
            std::fprintf(stderr, "no message after press %d\n", i);
            return 1;
        }
        millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("key press -> ClientMessage, KeyDestroy %d, %d presses: median %.3f ms, p99 %.3f ms, max %.3f ms\n",
                keyDestroy,
                presses,
                percentile(millis, 0.5),
                percentile(millis, 0.99),
                *std::max_element(millis.begin(), millis.end()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s LIBKEYTAP [PRESSES]\n", argv[0]);
        return 2;
    }
    const int presses = argc > 2 ? std::atoi(argv[2]) : 200;
    void* library = dlopen(argv[1], RTLD_NOW);
    if (library == nullptr) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    const Api api {reinterpret_cast<decltype(&InitHook)>(dlsym(library, "InitHook")),
                   reinterpret_cast<decltype(&TerminateHook)>(dlsym(library, "TerminateHook")),
                   reinterpret_cast<decltype(&RegistKey)>(dlsym(library, "RegistKey"))};
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || !api.initHook || !api.terminateHook || !api.registKey) {
        std::fprintf(stderr, "no X display or incomplete library\n");
        return 1;
    }
    const Window target = XCreateWindow(
        display, DefaultRootWindow(display), 0, 0, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent, 0, nullptr);
    const Atom message = XInternAtom(display, KEYTAP_MESSAGE_NAME, False);
    XSync(display, False);
    if (api.initHook(target) != 1) {
        std::fprintf(stderr, "InitHook failed\n");
        return 1;
    }
    // One xdotool reading commands from a pipe: no process start in the figures.
    FILE* xdotool = popen("xdotool -", "w");
    if (xdotool == nullptr) return 1;
    int status = measure(api, display, target, message, xdotool, presses, 0);
    if (status == 0) status = measure(api, display, target, message, xdotool, presses, 1);
    pclose(xdotool);
    api.terminateHook();
    XCloseDisplay(display);
    return status;
}
