#pragma once
// What switching the global shortcut keys on and off calls: the hook library
// and the replacement of the main window's event handling. The real bindings
// live with the hotkeys; the Null versions do nothing.

#include "keytap/Keytap.h"

#include <cstdint>
#include <functional>

namespace lirabox {

class KeytapApi {
public:
    virtual ~KeytapApi() = default;
    virtual void InitHook(std::uintptr_t window) = 0;
    virtual void TerminateHook() = 0;
    virtual void RegistKey(const ShortcutKeyRecord& record) = 0;
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
