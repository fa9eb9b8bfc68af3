// A pedal on the whole path into the player: reports written into a pipe are
// read by the event loop, turned into commands and carried out by the main
// window's behaviour on the real libmpv engine.

#include "PedalPipe.h"
#include "hotkeys/FootPedals.h"
#include "tests/app/qt/QtTestSupport.h"
#include "tests/player/RealEngineFixture.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>

namespace lirabox::test {
namespace {

using namespace std::chrono_literals;

bool runEventsUntil(const std::function<bool()>& done) { return processEventsUntil(done, 3s); }
void runEventsFor(std::chrono::milliseconds time) {
    processEventsUntil([] { return false; }, time);
}

class PedalPlayerTest : public RealEngineTest {
protected:
    double position() { return engine.controls().currentPosition(); }
};

TEST_F(PedalPlayerTest, MiddleHeldPlaysReleasedPausesAndRightHeldFastForwards) {
    ASSERT_TRUE(form().Form_Load(""));
    form().fileOpen(recording("interview.wav", 120));
    ASSERT_TRUE(view.messages.empty()) << view.messages[0].text;
    form().seekTo(30.0);

    hotkeys::PedalActions actions([this] { return form().pedal_mapping(); },
                                  [this](Command command) { form().runCommand(command); });
    hotkeys::FootPedals pedals(actions);
    PedalPipe pipe;
    pedals.watch(pipe.releaseReadEnd(), *hotkeys::findPedalDevice(0x05f3, 0x00ff), "pipe");

    pipe.send({0x02, 0x00});
    ASSERT_TRUE(runEventsUntil([&] { return engine.playState() == media::kPlaying; }));
    EXPECT_NEAR(position(), 29.0, 0.3);  // the step back of every start
    runEventsFor(300ms);
    pipe.send({0x00, 0x00});
    ASSERT_TRUE(runEventsUntil([&] { return engine.playState() == media::kPaused; }));
    const double paused = position();
    EXPECT_GT(paused, 29.0);

    // Held for about a second: the first step at once, then one every 300 ms.
    pipe.send({0x04, 0x00});
    ASSERT_TRUE(runEventsUntil([&] { return position() >= paused + 2 - 0.01; }));
    runEventsFor(1000ms);
    pipe.send({0x00, 0x00});
    runEventsFor(50ms);
    const double released = position();
    EXPECT_GE(released, paused + 4 * 2 - 0.01);
    EXPECT_LE(released, paused + 5 * 2 + 0.01);
    runEventsFor(700ms);
    EXPECT_DOUBLE_EQ(position(), released);
    EXPECT_EQ(engine.playState(), media::kPaused);

    // A pedal pulled out while held ends its action: playing stops.
    pipe.send({0x02, 0x00});
    ASSERT_TRUE(runEventsUntil([&] { return engine.playState() == media::kPlaying; }));
    pipe.closeWriteEnd();
    EXPECT_TRUE(runEventsUntil([&] { return engine.playState() == media::kPaused; }));
}

}  // namespace
}  // namespace lirabox::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
