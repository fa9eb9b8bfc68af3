#pragma once
// Puts the shortcut-key handling in front of the main window's own handling.
//
// SubclassMainWindow registers the message name "KVL_MESSAGE_PROC" on the
// application's connection to the desktop (keyMessageId; the hook library registers the
// same name and so sends the same number) and installs a native event filter
// that looks at every native event of the application. The filter never takes an
// event away: each one, the key messages included, goes on to the window's own
// handling (its nativeEvent and Qt's), and what that handling returns stands.
// A key message for the main window with a slot of 0..9 then has its slot
// handed to the key-message handler through a queued call, which runs after
// the window's own handling, on the UI thread. (Several messages that arrive
// together all reach the window before the first of their commands runs; the
// commands keep the order of their messages.)
//
// Unlike a replaced window procedure, the filter keeps nothing of the
// window's: RestoreMainWindowProc only removes the filter, so restoring when
// nothing was installed, or twice, leaves the window as it is. Installing
// twice keeps one filter, so a key message runs its command once. A key
// message that arrived before RestoreMainWindowProc still runs its command.

#include "player/ShortcutKeyPorts.h"

#include <QByteArray>
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

namespace lirabox::hotkeys {

class DeclaredFunctionManager final : public MainWindowSubclass {
public:
    DeclaredFunctionManager();
    ~DeclaredFunctionManager() override;
    DeclaredFunctionManager(const DeclaredFunctionManager&) = delete;
    DeclaredFunctionManager& operator=(const DeclaredFunctionManager&) = delete;

    void setKeyMessageHandler(KeyMessageHandler handler) override { mHandler = std::move(handler); }

    void SubclassMainWindow(std::uintptr_t window) override;
    void RestoreMainWindowProc(std::uintptr_t window) override;

    // The registered message number; 0 until SubclassMainWindow has obtained
    // it on the desktop, and kept from then on.
    std::uint32_t keyMessageId() const { return mKeyMessageId; }
    bool isSubclassed() const { return mFilter != nullptr; }

private:
    class Filter;

    void KeyMessageWindowProc(const QByteArray& eventType, const void* nativeEvent);

    KeyMessageHandler mHandler;
    std::uint32_t mKeyMessageId = 0;
    std::uint32_t mWindow = 0;
    std::unique_ptr<Filter> mFilter;
    // The queued calls belong to it: they are dropped when the manager goes.
    QObject mCallContext;
};

}  // namespace lirabox::hotkeys
