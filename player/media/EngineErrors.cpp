#include "EngineErrors.h"

#include <charconv>
#include <cmath>

#include "MediaEngine.h"
#include "support/Trace.h"

namespace lirabox::media {

RaisedError engineError(std::int32_t code, const std::string& description) {
    RaisedError raised = RaisedError::object(code, "MediaEngine", description);
    trace("sound engine error " + std::to_string(raised.number()) + ": " + description);
    return raised;
}

std::string numberText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void requireValidRate(double rate) {
    if (!(rate >= 0.01 && rate <= 100.0)) {
        throw engineError(kErrBadValue, "the rate " + numberText(rate) + " is outside 0.01 to 100");
    }
}

void requireValidVolume(std::int32_t volume) {
    if (volume < 0 || volume > 100) {
        throw engineError(kErrBadValue, "the volume " + std::to_string(volume) + " is outside 0 to 100");
    }
}

void requireValidPosition(double seconds) {
    if (std::isnan(seconds)) throw engineError(kErrBadValue, "the position is not a number");
}

}  // namespace lirabox::media
