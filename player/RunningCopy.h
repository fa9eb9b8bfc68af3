#pragma once
// The copy of the program that already runs, as a second start sees it: a
// recording given to the second start is handed over to it instead of being
// dropped. Implemented by each front end (the session bus on Linux, a window
// message on Windows); called on the second start's UI thread, once.

#include <climits>
#include <cstdint>
#include <string>

namespace lirabox {

class RunningCopy {
public:
    virtual ~RunningCopy() = default;
    // Start of a recording handed over without "/t=": where the running copy
    // would start it from its own command line (0, or where it was left).
    static constexpr std::int32_t kNoStart = INT32_MIN;
    // Asks the running copy to open the recording (a full path) and play it
    // from start seconds (or kNoStart), and to come to the front. True once it has taken
    // the request; false when no running copy answers, within a few seconds.
    virtual bool handOver(const std::string& path, std::int32_t start) = 0;
};

}  // namespace lirabox
