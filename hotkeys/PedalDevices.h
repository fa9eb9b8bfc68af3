#pragma once
// The USB foot pedals the player reads as raw HID devices, one row per model.
// A pedal that presents itself as a keyboard needs no row: its keys reach the
// player through the shortcut keys.

#include "player/PedalMapping.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace lirabox::hotkeys {

struct PedalDevice {
    std::uint16_t vendor;
    std::uint16_t product;
    const char* name;
    std::size_t reportSize;                       // bytes of one input report
    std::size_t stateByte;                        // the report byte that carries the pedals
    std::array<std::uint8_t, kPedalCount> masks;  // the bit of each pedal, indexed by Pedal
};

std::span<const PedalDevice> knownPedals();
// The row of a vendor and product; null for a device that is no known pedal.
const PedalDevice* findPedalDevice(std::uint16_t vendor, std::uint16_t product);
// "VEC Infinity 05f3:00ff, …": the models, for the log.
std::string knownPedalModels();

}  // namespace lirabox::hotkeys
