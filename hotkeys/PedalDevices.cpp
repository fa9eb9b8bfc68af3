#include "PedalDevices.h"

#include <algorithm>
#include <cstdio>

namespace lirabox::hotkeys {
namespace {

// VEC Infinity IN-USB-1/2/3 (05f3:00ff): its report descriptor declares 16
// one-bit buttons in one input report without a report ID, so every report is
// 2 bytes, sent on each change. Buttons 1, 2 and 3 are the left, middle and
// right pedal: bits 0, 1 and 2 of the first byte (left 1, middle 2, right 4);
// a report of all zeros means no pedal is down.
constexpr std::array<PedalDevice, 1> kPedals {{
    {0x05f3, 0x00ff, "VEC Infinity", 2, 0, {0x01, 0x02, 0x04}},
}};

}  // namespace

std::span<const PedalDevice> knownPedals() { return kPedals; }

const PedalDevice* findPedalDevice(std::uint16_t vendor, std::uint16_t product) {
    const auto found = std::find_if(kPedals.begin(), kPedals.end(), [&](const PedalDevice& device) {
        return device.vendor == vendor && device.product == product;
    });
    return found == kPedals.end() ? nullptr : &*found;
}

std::string knownPedalModels() {
    std::string text;
    for (const PedalDevice& device : kPedals) {
        char id[16];
        std::snprintf(id, sizeof id, "%04x:%04x", device.vendor, device.product);
        text += (text.empty() ? "" : ", ") + std::string(device.name) + " " + id;
    }
    return text;
}

}  // namespace lirabox::hotkeys
