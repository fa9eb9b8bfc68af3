#pragma once
// While a file opens, the keys typed are taken out of the message queue so
// that none starts a command in the middle of the load: Ctrl+Q and Alt+F4
// close the window at once (which gives the load up); the others are handed
// back to the window once the load is over, in their order and each with the
// keyboard state it came with, so Ctrl+O is still Ctrl+O. UI thread only.

#include <array>
#include <vector>

#include <windows.h>

namespace lirabox::win32 {

class MainWindow;

// A key message taken out of the queue, and the keyboard as it was then.
struct HeldKey {
    MSG message;
    std::array<BYTE, 256> keyboard;
};

class KeysDuringLoad {
public:
    explicit KeysDuringLoad(MainWindow& window) : mWindow(window) {}
    // Hands the held keys to the window, unless it is closing.
    ~KeysDuringLoad();
    KeysDuringLoad(const KeysDuringLoad&) = delete;
    KeysDuringLoad& operator=(const KeysDuringLoad&) = delete;

    // Takes every key message queued now.
    void take();

private:
    MainWindow& mWindow;
    std::vector<HeldKey> mHeld;
};

}  // namespace lirabox::win32
