// What pedal events do, on a clock the test moves: the default mapping's
// "play while held" and repeated rewind and fast-forward, and other mappings.

#include "hotkeys/PedalActions.h"

#include <gtest/gtest.h>

#include <vector>

namespace lirabox::test {
namespace {

using hotkeys::PedalActions;
using namespace std::chrono_literals;
using Commands = std::vector<Command>;

const PedalActions::Clock::time_point t0 = PedalActions::Clock::time_point {} + 1h;

class PedalActionsTest : public ::testing::Test {
protected:
    // The commands run since the last call.
    Commands taken() { return std::exchange(ran, {}); }

    PedalMapping mapping = defaultPedalMapping();
    Commands ran;
    std::function<void(Command)> inside;  // runs inside a command, as the window's message processing may
    PedalActions actions {[this] { return mapping; },
                          [this](Command command) {
                              ran.push_back(command);
                              if (inside) std::exchange(inside, nullptr)(command);
                          }};
};

TEST_F(PedalActionsTest, DefaultMappingPlaysWhileHeldAndRepeatsRewindAndFastForward) {
    actions.handle({Pedal::Middle, true}, t0);
    EXPECT_EQ(taken(), (Commands {Command::Play}));
    EXPECT_FALSE(actions.nextStep());

    actions.handle({Pedal::Right, true}, t0);
    EXPECT_EQ(taken(), (Commands {Command::FastForward}));
    EXPECT_EQ(actions.nextStep(), t0 + 300ms);
    actions.tick(t0 + 299ms);
    EXPECT_TRUE(taken().empty());
    actions.tick(t0 + 300ms);
    actions.tick(t0 + 650ms);
    actions.tick(t0 + 899ms);
    EXPECT_EQ(taken(), (Commands {Command::FastForward, Command::FastForward}));
    // After a stall one step, not a burst.
    actions.tick(t0 + 5s);
    EXPECT_EQ(taken(), (Commands {Command::FastForward}));
    EXPECT_EQ(actions.nextStep(), t0 + 5300ms);

    // Left joins: both repeat on their own schedules.
    actions.handle({Pedal::Left, true}, t0 + 5100ms);
    actions.tick(t0 + 5300ms);
    actions.tick(t0 + 5400ms);
    EXPECT_EQ(taken(), (Commands {Command::Rewind, Command::FastForward, Command::Rewind}));

    actions.handle({Pedal::Right, false}, t0 + 5500ms);
    actions.handle({Pedal::Left, false}, t0 + 5500ms);
    EXPECT_TRUE(taken().empty());
    EXPECT_FALSE(actions.nextStep());
    actions.tick(t0 + 10s);
    actions.handle({Pedal::Middle, false}, t0 + 10s);
    EXPECT_EQ(taken(), (Commands {Command::Pause}));
}

TEST_F(PedalActionsTest, OtherCommandsRunOncePerPressWithTheMappingOfThePress) {
    mapping = {PedalAction {PedalUse::RunCommand, Command::Stop},
               PedalAction {},
               PedalAction {PedalUse::PlayWhileHeld, Command::PlayPause}};
    actions.handle({Pedal::Left, true}, t0);
    actions.handle({Pedal::Left, true}, t0);  // still down: nothing new
    actions.tick(t0 + 2s);
    actions.handle({Pedal::Middle, true}, t0 + 2s);
    EXPECT_EQ(taken(), (Commands {Command::Stop}));
    EXPECT_FALSE(actions.nextStep());

    // Changed while held: the release still ends what the press began.
    actions.handle({Pedal::Right, true}, t0 + 3s);
    mapping[2] = PedalAction {PedalUse::RunCommand, Command::FastForward};
    actions.handle({Pedal::Right, false}, t0 + 4s);
    actions.handle({Pedal::Right, false}, t0 + 4s);  // not down: nothing
    EXPECT_EQ(taken(), (Commands {Command::Play, Command::Pause}));

    // A release handled inside the press's own command.
    actions.handle({Pedal::Left, false}, t0 + 5s);
    mapping[0] = PedalAction {PedalUse::PlayWhileHeld, Command::PlayPause};
    inside = [this](Command) { actions.handle({Pedal::Left, false}, t0 + 5s); };
    actions.handle({Pedal::Left, true}, t0 + 5s);
    actions.handle({Pedal::Left, true}, t0 + 6s);
    EXPECT_EQ(taken(), (Commands {Command::Play, Command::Pause, Command::Play}));
}

}  // namespace
}  // namespace lirabox::test
