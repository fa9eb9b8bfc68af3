// The pedal reader on VEC Infinity reports written into a pipe, and the raw
// HID nodes of known pedals found in a sysfs tree.

#include "PedalPipe.h"
#include "hotkeys/PedalReader.h"
#include "hotkeys/posix/HidrawNodes.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

namespace lirabox::test {
namespace {

using hotkeys::PedalEvent;
using hotkeys::PedalReader;
using Events = std::vector<PedalEvent>;

const hotkeys::PedalDevice& vecInfinity() { return *hotkeys::findPedalDevice(0x05f3, 0x00ff); }

TEST(PedalReader, PressesReleasesAndChordsComeInOrderWhateverTheReadsCarry) {
    PedalPipe pipe;
    PedalReader reader(vecInfinity());
    pipe.send({0x02, 0x00});
    EXPECT_EQ(reader.readOnce(pipe.readEnd()), (Events {{Pedal::Middle, true}}));

    // Several reports in one read: right joins, middle lets go, right too,
    // then left and right at once.
    pipe.send({0x06, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00});
    EXPECT_EQ(reader.readOnce(pipe.readEnd()),
              (Events {{Pedal::Right, true},
                       {Pedal::Middle, false},
                       {Pedal::Right, false},
                       {Pedal::Left, true},
                       {Pedal::Right, true}}));
    // Left swapped for middle in one report: the release comes first.
    pipe.send({0x06, 0x00});
    EXPECT_EQ(reader.readOnce(pipe.readEnd()), (Events {{Pedal::Left, false}, {Pedal::Middle, true}}));
    EXPECT_FALSE(reader.ended());
}

TEST(PedalReader, SplitReportsStrayBitsOddLengthsAndTheEndOfTheStream) {
    PedalPipe pipe;
    PedalReader reader(vecInfinity());
    pipe.send({0x01});
    EXPECT_TRUE(reader.readOnce(pipe.readEnd()).empty());
    pipe.send({0x00});
    EXPECT_EQ(reader.readOnce(pipe.readEnd()), (Events {{Pedal::Left, true}}));

    // Bits of no pedal, a busy second byte and a repeated state change nothing.
    pipe.send({0xf9, 0xff, 0x01, 0x00, 0x09, 0x80});
    EXPECT_TRUE(reader.readOnce(pipe.readEnd()).empty());

    // An odd length: the last report waits for its second byte, which never comes.
    pipe.send({0x03, 0x00, 0x07});
    EXPECT_EQ(reader.readOnce(pipe.readEnd()), (Events {{Pedal::Middle, true}}));
    pipe.closeWriteEnd();
    EXPECT_EQ(reader.readOnce(pipe.readEnd()), (Events {{Pedal::Left, false}, {Pedal::Middle, false}}));
    EXPECT_TRUE(reader.ended());
    EXPECT_EQ(reader.endError(), 0);
    EXPECT_TRUE(reader.readOnce(pipe.readEnd()).empty());

    // A descriptor that cannot be read ends the reader with its error.
    PedalReader broken(vecInfinity());
    EXPECT_TRUE(broken.readOnce(-1).empty());
    EXPECT_TRUE(broken.ended());
    EXPECT_EQ(broken.endError(), EBADF);
}

TEST(PedalNodes, OnlyKnownPedalsWithAValidHidIdAreFound) {
    const TempFolder sys;
    const auto uevent = [&](const std::string& node, const std::string& text) {
        std::filesystem::create_directories(sys.file(node) / "device");
        std::ofstream(sys.file(node) / "device" / "uevent") << text;
    };
    uevent("hidraw0", "DRIVER=hid-generic\nHID_ID=0003:0000046D:0000C52B\nHID_NAME=Logitech USB Receiver\n");
    uevent("hidraw1", "DRIVER=hid-generic\nHID_ID=0003:000005F3:000000FF\nHID_NAME=VEC  VEC USB Footpedal\n");
    uevent("hidraw2", "HID_ID=0003:05F3\n");
    uevent("hidraw3", "HID_ID=0003:000005F3:000100FF\n");
    uevent("hidraw4", "HID_ID=0003:000005f3:000000ffx\n");
    std::filesystem::create_directories(sys.file("hidraw5"));

    const std::vector<hotkeys::PedalNode> nodes = hotkeys::findPedalNodes(sys.path(), "/dev");
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].path, "/dev/hidraw1");
    EXPECT_STREQ(nodes[0].device->name, "VEC Infinity");
    EXPECT_TRUE(hotkeys::findPedalNodes(sys.file("missing")).empty());
}

}  // namespace
}  // namespace lirabox::test
