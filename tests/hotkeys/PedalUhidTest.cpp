// A virtual VEC Infinity made through the kernel's uhid: the player finds its
// /dev/hidraw node through sysfs after start-up and turns its reports into
// commands. Runs as root where /dev/uhid exists; elsewhere it is skipped with
// the reason (the pipe tests cover the reader and the path into the player).

#include "hotkeys/FootPedals.h"
#include "tests/app/qt/QtTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <unistd.h>

namespace lirabox::test {
namespace {

using namespace std::chrono_literals;

// 16 one-bit buttons in one report without an ID, as the VEC Infinity declares them.
constexpr std::uint8_t kReportDescriptor[] = {
    0x05, 0x0c, 0x09, 0x03, 0xa1, 0x01, 0x05, 0x09, 0x19, 0x01, 0x29, 0x10,
    0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x10, 0x81, 0x02, 0xc0,
};

class VirtualPedal {
public:
    VirtualPedal() : mFd(::open("/dev/uhid", O_RDWR | O_CLOEXEC)), mError(errno) {
        if (mFd < 0) return;
        uhid_event create {};
        create.type = UHID_CREATE2;
        std::strcpy(reinterpret_cast<char*>(create.u.create2.name), "VEC Infinity (virtual)");
        create.u.create2.rd_size = sizeof kReportDescriptor;
        std::memcpy(create.u.create2.rd_data, kReportDescriptor, sizeof kReportDescriptor);
        create.u.create2.bus = BUS_USB;
        create.u.create2.vendor = 0x05f3;
        create.u.create2.product = 0x00ff;
        if (::write(mFd, &create, sizeof create) != static_cast<ssize_t>(sizeof create)) {
            mError = errno;
            ::close(mFd);
            mFd = -1;
        }
    }
    ~VirtualPedal() {
        if (mFd < 0) return;
        uhid_event destroy {};
        destroy.type = UHID_DESTROY;
        (void)::write(mFd, &destroy, sizeof destroy);
        ::close(mFd);
    }
    VirtualPedal(const VirtualPedal&) = delete;
    VirtualPedal& operator=(const VirtualPedal&) = delete;

    bool made() const { return mFd >= 0; }
    const char* error() const { return std::strerror(mError); }

    void report(std::uint8_t pedals) {
        uhid_event input {};
        input.type = UHID_INPUT2;
        input.u.input2.size = 2;
        input.u.input2.data[0] = pedals;
        (void)::write(mFd, &input, sizeof input);
    }

private:
    int mFd;
    int mError;
};

TEST(PedalUhid, APedalPluggedInAfterStartUpDrivesTheCommands) {
    std::vector<Command> ran;
    hotkeys::PedalActions actions([] { return defaultPedalMapping(); },
                                  [&](Command command) { ran.push_back(command); });
    hotkeys::FootPedals pedals(actions);
    pedals.start();

    VirtualPedal pedal;
    if (!pedal.made()) GTEST_SKIP() << "no virtual pedal: /dev/uhid: " << pedal.error();
    // Reports sent before the player has opened the node are lost: press
    // until it has (a repeated state changes nothing).
    const bool found = processEventsUntil(
        [&] {
            pedal.report(0x02);
            return !ran.empty();
        },
        5s);
    ASSERT_TRUE(found) << "the virtual pedal was not picked up";
    pedal.report(0x00);
    pedal.report(0x04);
    ASSERT_TRUE(processEventsUntil([&] { return ran.size() >= 4; }, 2s));
    pedal.report(0x00);
    EXPECT_EQ(std::vector<Command>(ran.begin(), ran.begin() + 4),
              (std::vector<Command> {Command::Play, Command::Pause, Command::FastForward, Command::FastForward}));
}

}  // namespace
}  // namespace lirabox::test
