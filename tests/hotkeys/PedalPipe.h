#pragma once
// A pipe standing in for a pedal's raw HID node: reports written at one end
// are read by the pedal reader at the other.

#include <cstdint>
#include <initializer_list>

namespace lirabox::test {

class PedalPipe {
public:
    PedalPipe();
    ~PedalPipe();
    PedalPipe(const PedalPipe&) = delete;
    PedalPipe& operator=(const PedalPipe&) = delete;

    int readEnd() const { return mRead; }
    // Hands the read end over to a new owner, who closes it.
    int releaseReadEnd();
    void send(std::initializer_list<std::uint8_t> bytes);
    void closeWriteEnd();

private:
    int mRead = -1;
    int mWrite = -1;
};

}  // namespace lirabox::test
