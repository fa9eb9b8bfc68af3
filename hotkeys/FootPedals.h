#pragma once
// The foot pedals plugged into this machine, read on the UI thread for as long
// as the object lives: the known pedals present at start(), and those plugged
// in later, each feed their events to the PedalActions on the thread that
// made this object, through its event loop. Nothing is polled. Why no pedal
// is used (none there, no permission) is traced once.

#include "PedalActions.h"
#include "PedalDevices.h"

#include <memory>
#include <string>

namespace lirabox::hotkeys {

class FootPedals {
public:
    explicit FootPedals(PedalActions& actions);
    ~FootPedals();
    FootPedals(const FootPedals&) = delete;
    FootPedals& operator=(const FootPedals&) = delete;

    // Opens the pedals there are and watches for new ones.
    void start();
    // Reads the descriptor as a pedal of this model; `name` names it in traces.
    // The descriptor is closed when it ends or this object goes. On Windows
    // its handle must be open for overlapped reads.
    void watch(int fd, const PedalDevice& device, const std::string& name);

private:
    struct Impl;
    std::unique_ptr<Impl> mImpl;
};

}  // namespace lirabox::hotkeys
