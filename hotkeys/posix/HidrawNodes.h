#pragma once
// The raw HID nodes of known foot pedals, found through sysfs: each
// /sys/class/hidraw/hidrawN/device/uevent names its device as
// HID_ID=bus:vendor:product in hexadecimal.

#include "hotkeys/PedalDevices.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lirabox::hotkeys {

struct PedalNode {
    std::string path;  // /dev/hidrawN
    const PedalDevice* device;
};

// Vendor and product of a uevent text; nothing when it has no valid HID_ID line.
std::optional<std::pair<std::uint16_t, std::uint16_t>> hidIdOf(std::string_view uevent);

std::vector<PedalNode> findPedalNodes(const std::filesystem::path& hidrawClass = "/sys/class/hidraw",
                                      const std::filesystem::path& devFolder = "/dev");

}  // namespace lirabox::hotkeys
