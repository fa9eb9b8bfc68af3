#include "app/qt/keys/KeyMessage.h"

#include "keytap/Keytap.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace lirabox::hotkeys {

std::uint32_t registerKeyMessage() {
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const auto* x11 =
        application != nullptr ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return 0;
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(
        connection, 0, static_cast<std::uint16_t>(std::strlen(KEYTAP_MESSAGE_NAME)), KEYTAP_MESSAGE_NAME);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr) return 0;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}

std::optional<std::int32_t> commandSlotOf(const QByteArray& eventType, const void* nativeEvent, std::uint32_t window,
                                          std::uint32_t keyMessageId) {
    if (eventType != "xcb_generic_event_t" || keyMessageId == 0) return std::nullopt;
    const auto& event = *static_cast<const xcb_generic_event_t*>(nativeEvent);
    // The top bit only says the event came through SendEvent, as these always do.
    if ((event.response_type & 0x7f) != XCB_CLIENT_MESSAGE) return std::nullopt;
    const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
    if (message.window != window || message.type != keyMessageId || message.format != 32) return std::nullopt;
    const auto slot = static_cast<std::int32_t>(message.data.data32[0]);
    if (slot < kFirstCommandSlot || slot > kLastCommandSlot) return std::nullopt;
    return slot;
}

}  // namespace lirabox::hotkeys
