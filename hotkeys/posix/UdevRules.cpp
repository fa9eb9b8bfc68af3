// Prints the udev rule that gives the user at the desktop access to the raw
// HID node of every pedal in the model table (logind's uaccess tag, which must
// be set before 73-seat-late.rules runs). The build writes it to
// 70-lirabox-footpedal.rules, so a new table row needs nothing else.

#include "hotkeys/PedalDevices.h"

#include <cstdio>

int main() {
    std::puts("# Foot pedals Lirabox reads as raw HID devices: the user at the desktop may");
    std::puts("# open their /dev/hidraw* nodes. Written by the build from the pedal table.");
    for (const lirabox::hotkeys::PedalDevice& device : lirabox::hotkeys::knownPedals()) {
        std::printf(
            "\n# %s\nSUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%04x\", ATTRS{idProduct}==\"%04x\", "
            "TAG+=\"uaccess\"\n",
            device.name,
            device.vendor,
            device.product);
    }
    return std::ferror(stdout) != 0 ? 1 : 0;
}
