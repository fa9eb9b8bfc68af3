#pragma once
// What switching the global shortcut keys on and off calls: the hook library
// and the replacement of the main window's event handling. The real bindings
// live with the hotkeys; the Null versions do nothing.

#include "Command.h"
#include "keytap/Keytap.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace lirabox {

// How the keys reach the program, as the settings dialog's key tab tells it.
struct KeyRoute {
    enum class Way {
        Watcher,           // the program watches the keyboard itself (X11, Windows)
        DesktopShortcuts,  // the desktop's shortcut portal hands the bound keys over
        Off,               // keys cannot reach the program
    };
    Way way = Way::Watcher;
    std::string offReason;  // Off: why, in the user's language
    // DesktopShortcuts: the keys the desktop gave each row (slot 0..9), as it
    // describes them; empty where it gave none or has not answered yet.
    std::array<std::string, kCommandSlots> desktopKeys {};
};

class KeytapApi {
public:
    virtual ~KeytapApi() = default;
    virtual void InitHook(std::uintptr_t window) = 0;
    virtual void TerminateHook() = 0;
    virtual void RegistKey(const ShortcutKeyRecord& record) = 0;

    // How keys reach the program now; the watcher unless a binding knows better.
    virtual KeyRoute route() { return {}; }
    // Called on the UI thread whenever route() may have changed on its own
    // (an answer of the desktop); one handler, replaced by the next.
    virtual void onRouteChanged(std::function<void()> handler) { (void)handler; }
};

// Puts the key-message handling in front of the main window's own, and takes it away.
class MainWindowSubclass {
public:
    // Hears each key message: the slot of the row whose key was pressed.
    using KeyMessageHandler = std::function<void(std::int32_t slot)>;

    virtual ~MainWindowSubclass() = default;
    virtual void SubclassMainWindow(std::uintptr_t window) = 0;
    virtual void RestoreMainWindowProc(std::uintptr_t window) = 0;
    // Usually frmMain::KeyMessage.
    virtual void setKeyMessageHandler(KeyMessageHandler handler) = 0;
};

class NullKeytapApi final : public KeytapApi {
public:
    void InitHook(std::uintptr_t) override {}
    void TerminateHook() override {}
    void RegistKey(const ShortcutKeyRecord&) override {}
};

class NullMainWindowSubclass final : public MainWindowSubclass {
public:
    void SubclassMainWindow(std::uintptr_t) override {}
    void RestoreMainWindowProc(std::uintptr_t) override {}
    void setKeyMessageHandler(KeyMessageHandler) override {}
};

}  // namespace lirabox
