// What listeners hear of the player: each change once, after it is made, with
// the values the player and Timepost see.
#include "PlayerFixture.h"

#include <sstream>

namespace lirabox::test {
namespace {

class Journal final : public PlayerListener {
public:
    void playingChanged(bool playing) override { add("playing ", playing ? "true" : "false"); }
    void positionTicked(double seconds) override { add("tick ", seconds); }
    void positionJumped(double seconds) override { add("jump ", seconds); }
    void rateChanged(double rate) override { add("rate ", rate); }
    void recordingLoaded(const std::string& name, double seconds) override { add("loaded " + name + " ", seconds); }
    void recordingUnloaded() override { add("unloaded", ""); }
    void repeatMarksChanged(std::int32_t start, std::int32_t end) override {
        add("marks " + std::to_string(start) + "-", end);
    }
    void volumeChanged(std::int32_t value) override { add("volume ", value); }

    std::vector<std::string> take() { return std::exchange(mEvents, {}); }

private:
    template <class Value>
    void add(const std::string& what, const Value& value) {
        std::ostringstream text;
        text << what << value;
        mEvents.push_back(text.str());
    }
    std::vector<std::string> mEvents;
};

using Events = std::vector<std::string>;

class PlayerEventsTest : public PlayerTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(load());
        form().addListener(journal);
    }
    void TearDown() override { form().removeListener(journal); }
    Journal journal;
};

TEST_F(PlayerEventsTest, ASessionIsToldStepByStep) {
    engine.setDurationFor("/rec/talk.wav", 95.4);
    form().fileOpen("/rec/talk.wav");
    EXPECT_EQ(journal.take(), (Events {"loaded talk.wav 95.4", "marks 0-95"}));

    engine.setPosition(10);
    form().runCommand(Command::Faster);
    form().runCommand(Command::PlayPause);
    EXPECT_EQ(journal.take(), (Events {"rate 1.1", "jump 9", "playing true"}));

    engine.setPosition(12.5);
    form().Timer2_Timer();
    EXPECT_EQ(journal.take(), (Events {"tick 12.5"}));
    EXPECT_EQ(timepost.times.back(), 12.5);

    form().runCommand(Command::RepeatStart);
    form().runCommand(Command::FastForward);
    form().runCommand(Command::Stop);
    EXPECT_EQ(journal.take(), (Events {"marks 12-95", "jump 14.5", "playing false", "jump 0"}));
}

TEST_F(PlayerEventsTest, TheEndOfTheRecordingAndTheRepeatJumpAreTold) {
    form().fileOpen("/rec/talk.wav");
    form().runCommand(Command::Play);
    form().runCommand(Command::RepeatEnd);  // back to the length: the mark moves to the position
    journal.take();

    engine.setPosition(0.2);
    form().Timer2_Timer();  // at the repeat end: back to the start
    EXPECT_EQ(journal.take(), (Events {"tick 0.2", "jump 0"}));

    engine.setPlayState(media::kMediaEnded);
    form().Timer2_Timer();
    EXPECT_EQ(journal.take().back(), "playing false");
}

TEST_F(PlayerEventsTest, AFailedLoadUnloadsAndTheVolumeIsTold) {
    form().fileOpen("/rec/talk.wav");
    engine.failLoad("/rec/broken.wav", 53);
    journal.take();
    form().fileOpen("/rec/broken.wav");
    EXPECT_EQ(journal.take(), (Events {"unloaded"}));

    form().volumeSlider().setValue(4000);
    EXPECT_EQ(journal.take(), (Events {"volume 4000"}));
    EXPECT_EQ(engine.volume(), 40);
}

}  // namespace
}  // namespace lirabox::test
