#pragma once
// Recognising the message the hook library sends to the main window: an X
// ClientMessage of the registered type "KVL_MESSAGE_PROC", format 32, with the
// slot number in its first value and modifier code << 16 | key code in its
// second.

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

namespace lirabox::hotkeys {

// The slots that have a command on the main window.
inline constexpr std::int32_t kFirstCommandSlot = 0;
inline constexpr std::int32_t kLastCommandSlot = 7;

// The slot of a key message for `window` when the slot has a command; nothing
// for every other event (other windows, other types, other slots). A
// keyMessageId of 0 means the message was never registered: nothing matches.
std::optional<std::int32_t> commandSlotOf(const xcb_generic_event_t& event, std::uint32_t window,
                                          std::uint32_t keyMessageId);

}  // namespace lirabox::hotkeys
