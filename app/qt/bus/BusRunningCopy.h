#pragma once
// A second start's way to the copy that runs: the HandOver method of its
// session-bus service (RemoteService). UI thread; blocks for at most the
// reply's time limit (5 s, for a copy busy starting).

#include "player/RunningCopy.h"

#include <cstdint>
#include <string>

namespace lirabox::dbus {

class BusRunningCopy final : public RunningCopy {
public:
    bool handOver(const std::string& path, std::int32_t start) override;
};

}  // namespace lirabox::dbus
