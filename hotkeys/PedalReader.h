#pragma once
// Turns the input reports of one foot pedal, read from a plain file descriptor
// (a /dev/hidraw* node, or a pipe in tests), into pedal down and up events.
// The reports are taken as a byte stream cut into the device's report size, so
// a report split over two reads or several reports in one read count the same.
// Bits outside the device's pedal masks are ignored.

#include "PedalDevices.h"

#include <cstdint>
#include <span>
#include <vector>

namespace lirabox::hotkeys {

struct PedalEvent {
    Pedal pedal;
    bool down;
    bool operator==(const PedalEvent&) const = default;
};

class PedalReader {
public:
    explicit PedalReader(const PedalDevice& device) : mDevice(device) {}

    // One read() of the descriptor, so it never blocks once the descriptor is
    // readable. Returns the events of the whole reports that are now complete.
    // At the end of the stream or on an error other than an interruption the
    // reader has ended, and the pedals still down come back as released.
    std::vector<PedalEvent> readOnce(int fd);

    // The same for bytes another reader has read: the events of the reports
    // they complete, and the end of the stream (error 0) or an error.
    std::vector<PedalEvent> take(std::span<const std::uint8_t> bytes);
    std::vector<PedalEvent> end(int error);

    bool ended() const { return mEnded; }
    // The error number that ended the reader; 0 for the end of the stream.
    int endError() const { return mEndError; }

private:
    void report(const std::uint8_t* bytes, std::vector<PedalEvent>& events);
    void releaseAll(std::vector<PedalEvent>& events);

    const PedalDevice& mDevice;
    std::vector<std::uint8_t> mPartial;  // the start of a report not yet complete
    std::uint8_t mDown = 0;              // the pedals' bits as last reported
    bool mEnded = false;
    int mEndError = 0;
};

}  // namespace lirabox::hotkeys
