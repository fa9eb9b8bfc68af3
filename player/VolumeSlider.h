#pragma once
// The volume slider: its range, and the engine volume (percent) a slider
// value gives. Shared by the main form and the start that plays before it.

#include <algorithm>
#include <cstdint>

#include "support/VbConvert.h"

namespace lirabox {

inline constexpr std::int32_t kVolumeSliderMax = 5000;

inline std::int32_t engineVolumeOf(std::int32_t sliderValue) {
    return toInt32(std::clamp(sliderValue, 0, kVolumeSliderMax) / 100.0);
}

}  // namespace lirabox
