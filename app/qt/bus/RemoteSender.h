#pragma once
// The sending side of `lirabox --command NAME [ARGUMENT]`: checks the words,
// hands them to the running copy over the session bus (RemoteService.h) and
// gives the program's exit status: 0 when the running copy took the command,
// 1 when no copy runs (or the bus cannot be reached), 2 when the words are no
// command. Every failure is one line on stderr. Needs a QCoreApplication and
// nothing of the widgets, so it starts fast.

#include "player/RunningCopy.h"

#include <string>
#include <vector>

namespace lirabox::dbus {

int sendRemoteCommand(const std::vector<std::string>& words);

// A second start's way to the running copy: its HandOver method.
class BusRunningCopy final : public RunningCopy {
public:
    bool handOver(const std::string& path, std::int32_t start) override;
};

}  // namespace lirabox::dbus
