#pragma once
// The copy of the program that already runs, as a second start sees it: a
// recording given to the second start is handed over to it instead of being
// dropped. Implemented by each front end (the session bus on Linux, a window
// message on Windows); called on the second start's UI thread, once.

#include <cstdint>
#include <string>

namespace lirabox {

class RunningCopy {
public:
    virtual ~RunningCopy() = default;
    // Asks the running copy to open the recording (a full path) and play it
    // from start seconds, and to come to the front. True once it has taken
    // the request; false when no running copy answers, within a few seconds.
    virtual bool handOver(const std::string& path, std::int32_t start) = 0;
};

}  // namespace lirabox
