#include "PortalKeys.h"

#include "keytap/VirtualKeys.h"
#include "player/PedalMapping.h"
#include "settings/SettingsTexts.h"
#include "support/UiText.h"

#include <xkbcommon/xkbcommon.h>

#include <cstdio>
#include <utility>

namespace lirabox::hotkeys {
namespace {

constexpr UiText kKeysOff = LIRABOX_TEXT("main", "the global shortcut keys are off");

}  // namespace

PortalKeys::PortalKeys(ShortcutPortal& portal, std::function<void(Command)> run)
    : mPortal(portal), mRun(std::move(run)) {}

// Tried again each time: the route is the desktop's until it says otherwise.
void PortalKeys::InitHook(std::uintptr_t) {
    mOn = true;
    mUnavailable.clear();
    mPreferred = {};
    mPortal.bind(shortcuts());
}

void PortalKeys::TerminateHook() {
    mOn = false;
    mHeld.reset();
    mGiven = {};
    mPortal.unbind();
}

// A row moved to another slot by hand (ID) gives that slot its key, as the watcher does.
void PortalKeys::RegistKey(const ShortcutKeyRecord& record) {
    if (record.ID < 0 || record.ID >= kCommandSlots) return;
    mPreferred[static_cast<std::size_t>(record.ID)] = portalTrigger(record.KeyCode, record.ShiftStatus);
    if (mOn) mPortal.bind(shortcuts());
}

std::vector<ShortcutPortal::Shortcut> PortalKeys::shortcuts() const {
    std::vector<ShortcutPortal::Shortcut> list;
    for (std::int32_t slot = 0; slot < kCommandSlots; ++slot) {
        const auto index = static_cast<std::size_t>(slot);
        list.push_back(
            {std::string(slotCommandName(slot)), shown(settings::text::kRowCaptions[index]), mPreferred[index]});
    }
    return list;
}

std::string PortalKeys::portalTrigger(std::int32_t keyCode, std::int32_t shiftStatus) {
    const std::uint32_t keysym = keytap::keysymForVirtualKey(keyCode);
    char name[64] = {};
    if (keysym == 0 || xkb_keysym_get_name(keysym, name, sizeof name) <= 0) return {};
    std::string trigger;
    if ((shiftStatus & 2) != 0) trigger += "CTRL+";
    if ((shiftStatus & 4) != 0) trigger += "ALT+";
    if ((shiftStatus & 1) != 0) trigger += "SHIFT+";
    return trigger + name;
}

KeyRoute PortalKeys::route() {
    if (!mUnavailable.empty()) return {KeyRoute::Way::Off, mUnavailable, {}};
    return {KeyRoute::Way::DesktopShortcuts, {}, mGiven};
}

void PortalKeys::bound(const std::map<std::string, std::string>& triggers) {
    mUnavailable.clear();
    for (std::int32_t slot = 0; slot < kCommandSlots; ++slot) {
        const auto given = triggers.find(std::string(slotCommandName(slot)));
        mGiven[static_cast<std::size_t>(slot)] = given == triggers.end() ? std::string() : given->second;
    }
    routeChanged();
}

void PortalKeys::unavailable(const std::string& reason) {
    mUnavailable = reason;
    mGiven = {};
    mHeld.reset();
    if (!mUnavailableReported) {
        mUnavailableReported = true;
        std::fprintf(stderr, "lirabox: %s (%s)\n", shown(kKeysOff).c_str(), reason.c_str());
        std::fflush(stderr);
    }
    routeChanged();
}

// The state changes before the command runs, so an event handled inside the
// command finds it as it should be.
void PortalKeys::activated(const std::string& id, Clock::time_point now) {
    const auto slot = slotNamed(id);
    if (!mOn || !slot) return;
    const Command command = *commandForSlot(*slot);
    if (repeatsWhileHeld(PedalAction {PedalUse::RunCommand, command})) {
        mHeld = Held {command, id, {}};
        mHeld->repeat.start(now);
    } else {
        mHeld.reset();
    }
    mRun(command);
}

void PortalKeys::deactivated(const std::string& id) {
    if (mHeld && mHeld->id == id) mHeld.reset();
}

void PortalKeys::tick(Clock::time_point now) {
    if (mHeld && mHeld->repeat.step(now)) mRun(mHeld->command);
}

void PortalKeys::routeChanged() {
    if (mRouteChanged) mRouteChanged();
}

}  // namespace lirabox::hotkeys
