#include "RemoteCommand.h"

#include "Command.h"
#include "frmMain.h"

namespace lirabox {

std::string runRemoteCommand(frmMain& player, const RemoteCommand& command) {
    std::vector<std::string> words {command.name};
    if (!command.argument.empty()) words.push_back(command.argument);
    const auto checked = parseRemoteCommand(words, {});
    if (const auto* reason = std::get_if<std::string>(&checked)) return *reason;
    if (command.name == "goto") {
        player.seekTo(*remoteSeconds(command.argument));
    } else if (command.name == "open") {
        player.fileOpen(command.argument);
    } else {
        player.runCommand(*commandForSlot(*slotNamed(command.name)));
    }
    return {};
}

}  // namespace lirabox
