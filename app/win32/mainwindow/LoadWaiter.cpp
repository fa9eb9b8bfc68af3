#include "LoadWaiter.h"

#include "KeysDuringLoad.h"
#include "MainWindow.h"

#include <windows.h>

namespace lirabox::win32 {
namespace {

// Paints, timers, posted and sent messages run; mouse input stays queued for
// after the load (and keys are held back), so no command can start in the
// middle of it.
void runAllButInput() {
    MSG message {};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::DispatchMessageW(&message);
    }
}

}  // namespace

void installLoadWaiter(media::MediaEngine& engine, MainWindow& window) {
    engine.setLoadWaiter([&window](const std::function<bool()>& waitBriefly) {
        if (waitBriefly()) return;  // the usual case: no cursor flicker
        // A start on a slow recording shows its window while the load waits
        // (start-up shows it only once the first load is through).
        window.show();
        struct Hold {
            MainWindow& window;
            explicit Hold(MainWindow& held) : window(held) { window.holdClosing(true); }
            ~Hold() { window.holdClosing(false); }
        } hold(window);
        KeysDuringLoad keys(window);
        do {
            keys.take();
            runAllButInput();
        } while (!window.closeRequested() && !waitBriefly());
    });
}

}  // namespace lirabox::win32
