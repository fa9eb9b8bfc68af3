#pragma once
// The sending side of `lirabox --command NAME [ARGUMENT]`: checks the words,
// hands them to the running copy over the session bus (kRemoteService in
// player/RemoteCommand.h) and gives the program's exit status: 0 when the
// running copy took the command, 1 when no copy runs (or the bus cannot be
// reached), 2 when the words are no command. Every failure is one line on
// stderr, in the language of the catalogue in use (support/UiText.h).
// Stands on libdbus alone, so the process that sends loads neither Qt nor
// libmpv and is done in a few milliseconds. Blocks the calling thread for at
// most the reply's time limit (5 s, for a copy busy starting).

#include <string>
#include <vector>

namespace lirabox::dbus {

int sendRemoteCommand(const std::vector<std::string>& words);

}  // namespace lirabox::dbus
