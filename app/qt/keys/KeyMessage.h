#pragma once
// Recognising the message the hook library sends to the main window: the
// registered message "KVL_MESSAGE_PROC" for that window, with the slot number
// as its first value and modifier code << 16 | key code as its second. How it
// travels among the desktop's native events is the backend's business
// (hotkeys/x11/: an X ClientMessage of format 32).

#include <QByteArray>

#include "player/Command.h"

#include <cstdint>
#include <optional>

namespace lirabox::hotkeys {

// The slots that have a command on the main window.
inline constexpr std::int32_t kFirstCommandSlot = 0;
inline constexpr std::int32_t kLastCommandSlot = kCommandSlots - 1;

// The number of "KVL_MESSAGE_PROC" on the application's own connection to the
// desktop; 0 when the application does not run on this backend's desktop.
std::uint32_t registerKeyMessage();

// The slot of a key message for `window` when the slot has a command; nothing
// for every other native event (other windows, other types, other slots).
// eventType is the name Qt gives the native event's type. A keyMessageId of 0
// means the message was never registered: nothing matches.
std::optional<std::int32_t> commandSlotOf(const QByteArray& eventType, const void* nativeEvent, std::uint32_t window,
                                          std::uint32_t keyMessageId);

}  // namespace lirabox::hotkeys
