#include "KeyMessage.h"

namespace lirabox::hotkeys {

std::optional<std::int32_t> commandSlotOf(const xcb_generic_event_t& event, std::uint32_t window,
                                          std::uint32_t keyMessageId) {
    // The top bit only says the event came through SendEvent, as these always do.
    if ((event.response_type & 0x7f) != XCB_CLIENT_MESSAGE || keyMessageId == 0) return std::nullopt;
    const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
    if (message.window != window || message.type != keyMessageId || message.format != 32) return std::nullopt;
    const auto slot = static_cast<std::int32_t>(message.data.data32[0]);
    if (slot < kFirstCommandSlot || slot > kLastCommandSlot) return std::nullopt;
    return slot;
}

}  // namespace lirabox::hotkeys
