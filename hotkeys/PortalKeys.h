#pragma once
// The global keys through the desktop's shortcut portal
// (org.freedesktop.portal.GlobalShortcuts), for Wayland sessions where no
// program may watch the keyboard. The desktop owns the keys there: the program
// binds one shortcut per command, with a description in the user's language
// and the row's stored key from config.ini as the preferred trigger, and the
// desktop tells it when a shortcut goes down and up.
//
// This class is the behaviour, without the bus: it stands in for the hook
// library (KeytapApi), so switching the keys on and off and saving rows in the
// settings dialog work as with the keyboard watcher, and turns the desktop's
// activations into commands. A held fast-forward or rewind repeats, the first
// step at once and then every RepeatWhileHeld::kRepeatInterval, until the desktop
// says the key is up. The clock is the caller's: tick() runs the steps that
// are due, nextStep() says when the next one is. Everything runs on the UI
// thread.

#include "RepeatWhileHeld.h"
#include "player/Command.h"
#include "player/ShortcutKeyPorts.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lirabox::hotkeys {

// The bus side: one session of the portal with the program's shortcuts.
class ShortcutPortal {
public:
    struct Shortcut {
        std::string id;                // the command's name (Command.h: slotCommandName)
        std::string description;       // in the user's language
        std::string preferredTrigger;  // "CTRL+SHIFT+F5"; empty for none
        bool operator==(const Shortcut&) const = default;
    };
    virtual ~ShortcutPortal() = default;
    // Replaces what was bound before with these shortcuts (a new session when
    // the portal cannot change a bound one). Several calls in a row may be
    // answered once, for the last. The answer comes later, as
    // PortalKeys::bound or PortalKeys::unavailable.
    virtual void bind(const std::vector<Shortcut>& shortcuts) = 0;
    // Gives every shortcut back to the desktop (closes the session).
    virtual void unbind() = 0;
};

class PortalKeys final : public KeytapApi {
public:
    using Clock = std::chrono::steady_clock;

    // `run` carries a command out; it may let other events run inside it.
    PortalKeys(ShortcutPortal& portal, std::function<void(Command)> run);

    // The keys on: the ten commands are bound, with the keys of the rows
    // registered since (each registration binds again).
    void InitHook(std::uintptr_t window) override;
    // The keys off: nothing bound, nothing repeating.
    void TerminateHook() override;
    // A row's key becomes its command's preferred trigger.
    void RegistKey(const ShortcutKeyRecord& record) override;
    // DesktopShortcuts with the keys the desktop gave, or Off with the reason.
    KeyRoute route() override;
    void onRouteChanged(std::function<void()> handler) override { mRouteChanged = std::move(handler); }

    // The portal's answers. `triggers` maps a shortcut's id to the key the
    // desktop gave it, as the desktop describes it.
    void bound(const std::map<std::string, std::string>& triggers);
    // `reason` in the user's language; said once on stderr.
    void unavailable(const std::string& reason);
    // A shortcut went down or up.
    void activated(const std::string& id, Clock::time_point now);
    void deactivated(const std::string& id);

    void tick(Clock::time_point now);
    std::optional<Clock::time_point> nextStep() const { return mHeld ? mHeld->repeat.due() : std::nullopt; }

    // The shortcuts the rows registered so far ask for.
    std::vector<ShortcutPortal::Shortcut> shortcuts() const;
    // The portal's name of a stored key ("CTRL+SHIFT+F5": CTRL, ALT, SHIFT,
    // then the key's XKB name); empty when the key has no name there.
    static std::string portalTrigger(std::int32_t keyCode, std::int32_t shiftStatus);

private:
    struct Held {
        Command command;
        std::string id;
        RepeatWhileHeld repeat;
    };

    void routeChanged();

    ShortcutPortal& mPortal;
    std::function<void(Command)> mRun;
    std::function<void()> mRouteChanged;
    bool mOn = false;
    std::array<std::string, kCommandSlots> mPreferred {};
    std::array<std::string, kCommandSlots> mGiven {};
    std::string mUnavailable;
    bool mUnavailableReported = false;
    std::optional<Held> mHeld;
};

}  // namespace lirabox::hotkeys
