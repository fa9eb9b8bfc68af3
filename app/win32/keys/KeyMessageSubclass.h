#pragma once
// The key message of Keytap.dll reaching the main window on Windows: the
// window is subclassed (SetWindowSubclass) while the shortcut keys are on.
// Every message first goes through the window's own procedure; a registered
// "KVL_MESSAGE_PROC" with a slot of 0..9 then has its slot handed to the
// handler. Restoring removes the subclass; restoring when nothing was
// installed, or twice, leaves the window as it is, and installing twice keeps
// one subclass.

#include "player/ShortcutKeyPorts.h"

#include <cstdint>
#include <functional>

namespace lirabox::hotkeys {

class KeyMessageSubclass final : public MainWindowSubclass {
public:
    KeyMessageSubclass();
    ~KeyMessageSubclass() override;
    KeyMessageSubclass(const KeyMessageSubclass&) = delete;
    KeyMessageSubclass& operator=(const KeyMessageSubclass&) = delete;

    void setKeyMessageHandler(KeyMessageHandler handler) override { mHandler = std::move(handler); }

    void SubclassMainWindow(std::uintptr_t window) override;
    void RestoreMainWindowProc(std::uintptr_t window) override;

    bool isSubclassed() const { return mWindow != 0; }

    // Called by the subclass after the window's own procedure has run.
    void KeyMessageWindowProc(unsigned message, std::uintptr_t wParam);

private:
    KeyMessageHandler mHandler;
    unsigned mKeyMessageId = 0;
    std::uintptr_t mWindow = 0;
};

}  // namespace lirabox::hotkeys
