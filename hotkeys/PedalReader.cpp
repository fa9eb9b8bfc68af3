#include "PedalReader.h"

#include <array>
#include <cerrno>

#include <unistd.h>

namespace lirabox::hotkeys {

std::vector<PedalEvent> PedalReader::readOnce(int fd) {
    if (mEnded) return {};
    std::array<std::uint8_t, 256> buffer {};
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) return {};
    if (count <= 0) return end(count < 0 ? errno : 0);
    return take(std::span(buffer.data(), static_cast<std::size_t>(count)));
}

std::vector<PedalEvent> PedalReader::take(std::span<const std::uint8_t> bytes) {
    std::vector<PedalEvent> events;
    if (mEnded) return events;
    mPartial.insert(mPartial.end(), bytes.begin(), bytes.end());
    std::size_t used = 0;
    for (; mPartial.size() - used >= mDevice.reportSize; used += mDevice.reportSize) {
        report(mPartial.data() + used, events);
    }
    mPartial.erase(mPartial.begin(), mPartial.begin() + static_cast<std::ptrdiff_t>(used));
    return events;
}

std::vector<PedalEvent> PedalReader::end(int error) {
    std::vector<PedalEvent> events;
    if (mEnded) return events;
    mEnded = true;
    mEndError = error;
    releaseAll(events);
    return events;
}

// Releases come before presses, so a report that swaps two pedals ends the
// first one's action before the second one's starts.
void PedalReader::report(const std::uint8_t* bytes, std::vector<PedalEvent>& events) {
    const std::uint8_t state = bytes[mDevice.stateByte];
    for (const bool down : {false, true}) {
        for (std::size_t pedal = 0; pedal < kPedalCount; ++pedal) {
            const std::uint8_t mask = mDevice.masks[pedal];
            const bool nowDown = (state & mask) != 0;
            if (nowDown == down && nowDown != ((mDown & mask) != 0))
                events.push_back({static_cast<Pedal>(pedal), down});
        }
    }
    mDown = state;
}

void PedalReader::releaseAll(std::vector<PedalEvent>& events) {
    for (std::size_t pedal = 0; pedal < kPedalCount; ++pedal) {
        if ((mDown & mDevice.masks[pedal]) != 0) events.push_back({static_cast<Pedal>(pedal), false});
    }
    mDown = 0;
}

}  // namespace lirabox::hotkeys
