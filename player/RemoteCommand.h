#pragma once
// A command another process hands the running copy: `lirabox --command NAME
// [ARGUMENT]`. The sending side checks the words before it sends them; the
// running copy checks them again, since any program on the session bus may
// send it words.

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace lirabox {

class frmMain;

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

// Carries it out on the player; the line that says what is wrong when it is
// no command. Call on the UI thread; never throws.
std::string runRemoteCommand(frmMain& player, const RemoteCommand& command);

}  // namespace lirabox
