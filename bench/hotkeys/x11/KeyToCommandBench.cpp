// Presses a registered key with xdotool again and again while another X
// client holds the focus, and measures the time until the player's command
// handler runs: libkeytap.so's watcher, the X server, Qt's event loop and the
// key-message handling in front of the main window. Prints the median and the
// 99th percentile, for a key that is passed on and for one that is swallowed.
//   hotkeys_latency_bench [PRESSES]     (on an X display; libkeytap.so beside it)

#include "app/qt/keys/DeclaredFunctionManager.h"
#include "hotkeys/KeytapBinding.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t kF9 = 120;

// A window of another client, holding the keyboard focus.
class OtherClient {
public:
    OtherClient() : mConnection(xcb_connect(nullptr, nullptr)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(mConnection)).data;
        mWindow = xcb_generate_id(mConnection);
        const std::uint32_t events = XCB_EVENT_MASK_KEY_PRESS;
        xcb_create_window(mConnection,
                          XCB_COPY_FROM_PARENT,
                          mWindow,
                          screen->root,
                          600,
                          500,
                          240,
                          120,
                          0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual,
                          XCB_CW_EVENT_MASK,
                          &events);
        xcb_map_window(mConnection, mWindow);
        xcb_set_input_focus(mConnection, XCB_INPUT_FOCUS_PARENT, mWindow, XCB_CURRENT_TIME);
        std::free(xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr));
    }
    ~OtherClient() { xcb_disconnect(mConnection); }
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

private:
    xcb_connection_t* mConnection;
    xcb_window_t mWindow = 0;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

// The commands run so far and when the last one ran.
struct Commands {
    int count = 0;
    Clock::time_point lastAt;
};

// Runs the event loop until `count` commands have run; false after 10 s without.
bool waitForCommands(const Commands& commands, int count) {
    QElapsedTimer waited;
    waited.start();
    QTimer wake;  // WaitForMoreEvents returns at least this often
    wake.start(500);
    while (commands.count < count) {
        if (waited.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

int measure(lirabox::hotkeys::KeytapBinding& keytap, FILE* xdotool, Commands& commands, int presses,
            std::int32_t keyDestroy) {
    keytap.RegistKey({0, kF9, 0, keyDestroy});
    std::vector<double> millis;
    for (int i = 0; i < presses; ++i) {
        const int before = commands.count;
        const Clock::time_point start = Clock::now();
        std::fputs("key --delay 0 F9\n", xdotool);
        std::fflush(xdotool);
        if (!waitForCommands(commands, before + 1)) {
            std::fprintf(stderr, "no command after press %d\n", i);
            return 1;
        }
        millis.push_back(std::chrono::duration<double, std::milli>(commands.lastAt - start).count());
    }
    std::printf("key press -> command, KeyDestroy %d, %d presses: median %.3f ms, p99 %.3f ms, max %.3f ms\n",
                keyDestroy,
                presses,
                percentile(millis, 0.5),
                percentile(millis, 0.99),
                *std::max_element(millis.begin(), millis.end()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int presses = argc > 1 ? std::atoi(argv[1]) : 200;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QWidget mainWindow;
    mainWindow.setAttribute(Qt::WA_ShowWithoutActivating);
    mainWindow.show();
    while (!mainWindow.windowHandle()->isExposed()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    OtherClient other;

    lirabox::hotkeys::KeytapBinding keytap;
    if (!keytap.isBound()) return 1;
    keytap.InitHook(mainWindow.winId());
    Commands commands;
    lirabox::hotkeys::DeclaredFunctionManager manager;
    manager.setKeyMessageHandler([&](std::int32_t) {
        commands.lastAt = Clock::now();
        ++commands.count;
    });
    manager.SubclassMainWindow(mainWindow.winId());

    // One xdotool reading commands from a pipe: no process start in the figures.
    FILE* xdotool = popen("xdotool -", "w");
    if (xdotool == nullptr) return 1;
    int status = measure(keytap, xdotool, commands, presses, 0);
    if (status == 0) status = measure(keytap, xdotool, commands, presses, 1);
    pclose(xdotool);
    manager.RestoreMainWindowProc(mainWindow.winId());
    keytap.TerminateHook();
    return status;
}
