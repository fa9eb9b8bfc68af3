#include "RemoteSender.h"

#include "player/RemoteCommand.h"
#include "support/UiText.h"

#include <dbus/dbus.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <variant>

namespace lirabox::dbus {
namespace {

constexpr UiText kNoCopy = LIRABOX_TEXT("main", "no running Lirabox took the command; start Lirabox first");
constexpr UiText kNoBus = LIRABOX_TEXT("main", "the session bus cannot be reached");
constexpr UiText kNotUtf8 = LIRABOX_TEXT("main", "ファイル名が UTF-8 の文字列ではないので、送れません");
// Long enough for a copy that is busy starting; a command normally takes a few milliseconds.
constexpr int kReplyTimeoutMs = 5000;

int fail(int status, const std::string& line) {
    std::fprintf(stderr, "lirabox: %s\n", line.c_str());
    return status;
}

// A DBusError that frees itself.
struct BusError {
    BusError() { dbus_error_init(&error); }
    ~BusError() { dbus_error_free(&error); }
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;
    bool is(std::string_view name) const { return dbus_error_is_set(&error) && error.name == name; }
    std::string message() const { return error.message != nullptr ? error.message : ""; }
    DBusError error;
};

// A private connection, closed and released at the end, so nothing of
// libdbus outlives the call.
struct Connection {
    explicit Connection(DBusError& error) : bus(dbus_bus_get_private(DBUS_BUS_SESSION, &error)) {
        if (bus != nullptr) dbus_connection_set_exit_on_disconnect(bus, FALSE);
    }
    ~Connection() {
        if (bus == nullptr) return;
        dbus_connection_close(bus);
        dbus_connection_unref(bus);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    DBusConnection* bus;
};

struct MessageUnref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, MessageUnref>;

}  // namespace

int sendRemoteCommand(const std::vector<std::string>& words) {
    std::error_code folderError;
    const auto parsed = parseRemoteCommand(words, std::filesystem::current_path(folderError));
    if (const auto* reason = std::get_if<std::string>(&parsed)) return fail(2, *reason);
    const auto& command = std::get<RemoteCommand>(parsed);

    BusError connectError;
    const Connection connection(connectError.error);
    if (connection.bus == nullptr) return fail(1, shown(kNoBus) + " (" + connectError.message() + ")");
    // A bus text is UTF-8; libdbus would end the process on any other (a file
    // name in another encoding).
    const char* name = command.name.c_str();
    const char* argument = command.argument.c_str();
    if (!dbus_validate_utf8(argument, nullptr)) return fail(2, shown(kNotUtf8));
    const Message call(dbus_message_new_method_call(kRemoteService, kRemotePath, kRemoteInterface, "Run"));
    if (call == nullptr || !dbus_message_append_args(
                               call.get(), DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING, &argument, DBUS_TYPE_INVALID)) {
        return fail(1, shown(kNoCopy));  // out of memory
    }
    // No copy: the bus answers at once that nobody owns the name (no service
    // file starts one).
    BusError callError;
    const Message reply(
        dbus_connection_send_with_reply_and_block(connection.bus, call.get(), kReplyTimeoutMs, &callError.error));
    if (reply != nullptr) return 0;
    if (callError.is(DBUS_ERROR_INVALID_ARGS)) return fail(2, callError.message());
    if (callError.is(DBUS_ERROR_SERVICE_UNKNOWN)) return fail(1, shown(kNoCopy));
    return fail(1, shown(kNoCopy) + " (" + callError.message() + ")");
}

}  // namespace lirabox::dbus
