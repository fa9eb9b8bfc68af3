#include "app/qt/toolkit/FrameExtentsEstimate.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <thread>

namespace lirabox {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

// A window manager that offers the request answers within milliseconds; on a
// busy machine it can take longer, and a missing answer puts the window off by
// its decoration. The wait happens once per restore, at most 300 ms.
constexpr int kAnswerPolls = 60;
constexpr std::chrono::milliseconds kAnswerPollInterval {5};
// How often "no decoration" is asked about again; a window manager that
// decorates nothing answers so each time.
constexpr int kRequests = 3;

xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name) {
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    return reply ? reply->atom : xcb_atom_t {XCB_ATOM_NONE};
}

xcb_window_t rootWindow(xcb_connection_t* connection) {
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return screens.rem > 0 ? screens.data->root : xcb_window_t {XCB_WINDOW_NONE};
}

bool wmSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t feature) {
    const xcb_atom_t supported = internAtom(connection, "_NET_SUPPORTED");
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->format != 32) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == feature) return true;
    }
    return false;
}

std::optional<QMargins> frameExtentsProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t extents) {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16) return std::nullopt;
    const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    // left, right, top, bottom
    return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]), static_cast<int>(v[3]));
}

// Sends the request and waits briefly for the window manager to answer by
// setting the property.
std::optional<QMargins> requestFrameExtents(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                                            xcb_atom_t request, xcb_atom_t extents) {
    // Extents left from an earlier mapping (maximised, say) are no estimate.
    xcb_delete_property(connection, window, extents);

    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = request;
    xcb_send_event(connection,
                   0,
                   root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    for (int poll = 0; poll < kAnswerPolls; ++poll) {
        if (std::optional<QMargins> answer = frameExtentsProperty(connection, window, extents)) return answer;
        std::this_thread::sleep_for(kAnswerPollInterval);
    }
    return std::nullopt;
}

}  // namespace

std::optional<QMargins> estimatedFrameExtents(WId window) {
    const auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Another platform (offscreen, Wayland) in an X11 build has no connection.
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return std::nullopt;
    const auto xWindow = static_cast<xcb_window_t>(window);
    const xcb_window_t root = rootWindow(connection);
    const xcb_atom_t requestAtom = internAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = internAtom(connection, "_NET_FRAME_EXTENTS");
    if (root == XCB_WINDOW_NONE || requestAtom == XCB_ATOM_NONE || extents == XCB_ATOM_NONE) return std::nullopt;

    if (!wmSupports(connection, root, requestAtom)) return std::nullopt;

    // A window just unmapped may first get no decoration at all: the window
    // manager's answer for what it was letting go of. Asked again, it answers
    // for the window as it will be mapped.
    std::optional<QMargins> answer = requestFrameExtents(connection, root, xWindow, requestAtom, extents);
    for (int again = 1; again < kRequests && answer && answer->isNull(); ++again) {
        answer = requestFrameExtents(connection, root, xWindow, requestAtom, extents);
    }
    return answer;
}

}  // namespace lirabox
