#pragma once
// A command another process hands the running copy: `lirabox --command NAME
// [ARGUMENT]`. The sending side checks the words before it sends them; the
// running copy checks them again, since any program on the session bus may
// send it words. Reading the words (RemoteCommand.cpp) needs nothing of the
// player, so the sending process links it alone; carrying a command out is in
// RemoteCommandRun.cpp.

#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lirabox {

class frmMain;

// Where the running copy takes the commands on the session bus: Run(name,
// argument) answers at once; words that are no command get an
// org.freedesktop.DBus.Error.InvalidArgs reply with the reason.
inline constexpr const char* kRemoteService = "io.github.lirabox";
inline constexpr const char* kRemotePath = "/io/github/lirabox";
inline constexpr const char* kRemoteInterface = "io.github.lirabox.Remote";

struct RemoteCommand {
    std::string name;      // a shortcut slot's command name (Command.h), "open" or "goto"
    std::string argument;  // open: a full path; goto: seconds (a number >= 0); empty otherwise
    bool operator==(const RemoteCommand&) const = default;
};

// The command the words (NAME, then ARGUMENT where the name takes one) give,
// or one line that says what is wrong with them. A relative path given to
// "open" names a file in startFolder; without a start folder it is refused.
std::variant<RemoteCommand, std::string> parseRemoteCommand(const std::vector<std::string>& words,
                                                            const std::filesystem::path& startFolder);

// The seconds a goto argument names, or nothing when it is no number >= 0.
std::optional<double> remoteSeconds(const std::string& text);

// Carries it out on the player; the line that says what is wrong when it is
// no command. Call on the UI thread; never throws.
std::string runRemoteCommand(frmMain& player, const RemoteCommand& command);

}  // namespace lirabox
