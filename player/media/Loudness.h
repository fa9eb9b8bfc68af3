#pragma once
// How the engine volume (0 .. 100) sounds, the same in every engine: the
// amplitude in percent, so 50 plays at half the recording's level (-6 dB) and
// 0 is silence.

#include <algorithm>
#include <cstdint>

namespace lirabox::media {

// The factor every sample is multiplied by at `volume` (clamped to 0 .. 100).
constexpr double volumeGain(std::int32_t volume) {
    return static_cast<double>(std::clamp<std::int32_t>(volume, 0, 100)) / 100.0;
}

}  // namespace lirabox::media
