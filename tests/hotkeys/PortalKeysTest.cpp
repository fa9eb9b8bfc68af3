// The keys through the desktop's shortcut portal, without the bus: the
// triggers asked for, a held fast-forward on a clock the test moves, the
// desktop's answers. (The whole path through the real portal: ui_wayland_portal_test.)

#include "hotkeys/PortalKeys.h"

#include <gtest/gtest.h>

#include <vector>

namespace lirabox::test {
namespace {

using hotkeys::PortalKeys;
using hotkeys::ShortcutPortal;
using namespace std::chrono_literals;
using Commands = std::vector<Command>;

const PortalKeys::Clock::time_point t0 = PortalKeys::Clock::time_point {} + 1h;

class RecordingPortal : public ShortcutPortal {
public:
    void bind(const std::vector<Shortcut>& shortcuts) override { binds.push_back(shortcuts); }
    void unbind() override { ++unbinds; }
    std::vector<std::vector<Shortcut>> binds;
    int unbinds = 0;
};

class PortalKeysTest : public ::testing::Test {
protected:
    Commands taken() { return std::exchange(ran, {}); }

    RecordingPortal portal;
    Commands ran;
    PortalKeys keys {portal, [this](Command command) { ran.push_back(command); }};
};

TEST(PortalTrigger, ModifiersThenTheKeysXkbName) {
    EXPECT_EQ(PortalKeys::portalTrigger(116, 3), "CTRL+SHIFT+F5");
    EXPECT_EQ(PortalKeys::portalTrigger(120, 0), "F9");
    EXPECT_EQ(PortalKeys::portalTrigger('A', 4), "ALT+a");
    EXPECT_EQ(PortalKeys::portalTrigger(107, 7), "CTRL+ALT+SHIFT+KP_Add");
    EXPECT_EQ(PortalKeys::portalTrigger(0, 0), "");
    EXPECT_EQ(PortalKeys::portalTrigger(-5, 2), "");
}

TEST_F(PortalKeysTest, EachRegisteredRowRebindsTheTenCommandsWithItsKey) {
    keys.RegistKey({0, 120, 0, 0});  // off: nothing is bound
    EXPECT_TRUE(portal.binds.empty());
    keys.InitHook(1);
    keys.RegistKey({4, 116, 3, 1});
    keys.RegistKey({12, 117, 0, 0});  // a slot that runs nothing
    ASSERT_EQ(portal.binds.size(), 2U);
    const auto& last = portal.binds.back();
    ASSERT_EQ(last.size(), 10U);
    EXPECT_EQ(last[0], (ShortcutPortal::Shortcut {"play-pause", "再生・一時停止", ""}));
    EXPECT_EQ(last[4], (ShortcutPortal::Shortcut {"forward", "早送り", "CTRL+SHIFT+F5"}));
    EXPECT_EQ(last[8].id, "timestamp");
    EXPECT_EQ(last[9], (ShortcutPortal::Shortcut {"goto-selection", "タイムスタンプへ移動", ""}));

    keys.bound({{"forward", "Ctrl+Shift+F5"}});
    EXPECT_EQ(keys.route().way, KeyRoute::Way::DesktopShortcuts);
    EXPECT_EQ(keys.route().desktopKeys[4], "Ctrl+Shift+F5");
    keys.TerminateHook();
    EXPECT_EQ(portal.unbinds, 1);
    keys.activated("play-pause", t0);  // late, after the keys went off
    EXPECT_TRUE(taken().empty());
}

TEST_F(PortalKeysTest, AHeldForwardRepeatsWithoutBurstsUntilReleased) {
    keys.InitHook(1);
    keys.activated("forward", t0);
    EXPECT_EQ(taken(), (Commands {Command::FastForward}));
    EXPECT_EQ(keys.nextStep(), t0 + 300ms);
    keys.tick(t0 + 299ms);
    EXPECT_TRUE(taken().empty());
    keys.tick(t0 + 300ms);
    keys.tick(t0 + 2s);  // after a stall: one step, then on from now
    EXPECT_EQ(taken(), (Commands {Command::FastForward, Command::FastForward}));
    EXPECT_EQ(keys.nextStep(), t0 + 2300ms);
    keys.deactivated("rewind");
    EXPECT_TRUE(keys.nextStep());
    keys.deactivated("forward");
    EXPECT_FALSE(keys.nextStep());

    keys.activated("stop", t0);
    keys.activated("nonsense", t0);
    EXPECT_EQ(taken(), (Commands {Command::Stop}));
    EXPECT_FALSE(keys.nextStep());
}

TEST_F(PortalKeysTest, ARefusalTurnsTheKeysOffUntilTheNextSwitchOn) {
    int changes = 0;
    keys.onRouteChanged([&] { ++changes; });
    keys.InitHook(1);
    keys.activated("rewind", t0);
    keys.unavailable("no portal");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(keys.route().way, KeyRoute::Way::Off);
    EXPECT_EQ(keys.route().offReason, "no portal");
    EXPECT_FALSE(keys.nextStep());
    keys.InitHook(1);
    EXPECT_EQ(keys.route().way, KeyRoute::Way::DesktopShortcuts);
}

}  // namespace
}  // namespace lirabox::test
