// The desktop's media-player interface as its clients see it: the state the
// player's events make of it, and what its calls do to the player.
#include "PlayerFixture.h"
#include "player/MprisPlayer.h"
#include "support/RaisedError.h"

#include <cmath>
#include <limits>
#include <optional>

namespace lirabox::test {
namespace {

using Names = std::vector<std::string>;

class MprisPlayerTest : public PlayerTest {
protected:
    void start() {
        mpris.emplace(form(), engine);
        mpris->onChanged([this](const Names& names) { changes.push_back(names); });
        mpris->onSeeked([this](std::int64_t position) { seeks.push_back(position); });
    }
    std::vector<Names> takeChanges() { return std::exchange(changes, {}); }
    std::vector<std::int64_t> takeSeeks() { return std::exchange(seeks, {}); }

    std::optional<MprisPlayer> mpris;
    std::vector<Names> changes;
    std::vector<std::int64_t> seeks;
};

TEST_F(MprisPlayerTest, FollowsLoadsAndPlaybackReportingEachChangeOnce) {
    ASSERT_TRUE(load());
    start();
    EXPECT_EQ(mpris->playbackStatus(), "Stopped");
    EXPECT_FALSE(mpris->hasTrack());
    EXPECT_EQ(mpris->position(), 0);

    engine.setDurationFor("/rec/talk one.wav", 95.4);
    form().fileOpen("/rec/talk one.wav");
    EXPECT_EQ(takeChanges(), (std::vector<Names> {{"Metadata", "CanPlay", "CanPause", "CanSeek"}}));
    ASSERT_TRUE(mpris->hasTrack());
    const MprisPlayer::Track first = *mpris->track();
    EXPECT_EQ(first.title, "talk one.wav");
    EXPECT_EQ(first.path, "/rec/talk one.wav");
    EXPECT_EQ(first.length, 95'400'000);

    // Play-pause is the player's own toggle, with its step back.
    engine.setPosition(10.4);
    mpris->playPause();
    EXPECT_EQ(mpris->playbackStatus(), "Playing");
    EXPECT_EQ(takeChanges(), (std::vector<Names> {{"PlaybackStatus"}}));
    EXPECT_EQ(takeSeeks(), (std::vector<std::int64_t> {9'400'000}));
    // A second Play leaves playback where it is.
    engine.setPosition(30);
    mpris->play();
    EXPECT_EQ(engine.position(), 30);
    EXPECT_TRUE(takeSeeks().empty());

    mpris->pause();
    EXPECT_EQ(mpris->playbackStatus(), "Paused");
    // Stopping a paused player changes no playing flag, yet the status moves on.
    mpris->stop();
    EXPECT_EQ(mpris->playbackStatus(), "Stopped");
    EXPECT_EQ(takeChanges(), (std::vector<Names> {{"PlaybackStatus"}, {"PlaybackStatus"}}));
    EXPECT_EQ(takeSeeks(), (std::vector<std::int64_t> {0}));

    // Loading the same file again makes a new track, so stale SetPosition calls miss.
    form().fileOpen("/rec/talk one.wav");
    EXPECT_EQ(takeChanges(), (std::vector<Names> {{"Metadata"}}));
    EXPECT_NE(mpris->track()->trackId, first.trackId);
    mpris->setPosition(first.trackId, 20'000'000);
    EXPECT_EQ(engine.position(), 0);

    // A file that cannot be opened leaves the track; the bus gets the error,
    // the user no message box.
    engine.failLoad("/rec/broken.wav", kObjectErrorBase + media::kErrCannotOpen);
    const std::size_t shown = view.messages.size();
    EXPECT_THROW(mpris->openFile("/rec/broken.wav"), RaisedError);
    EXPECT_EQ(view.messages.size(), shown);
    EXPECT_TRUE(mpris->hasTrack());
    EXPECT_TRUE(takeChanges().empty());
}

TEST_F(MprisPlayerTest, SeeksOnlyWithinTheRecording) {
    loadWithFile(100);
    start();
    const std::string track = mpris->track()->trackId;

    engine.setPosition(10);
    mpris->seek(5'000'000);
    EXPECT_EQ(engine.position(), 15);
    mpris->seek(-30'000'000);
    EXPECT_EQ(engine.position(), 0);
    EXPECT_EQ(takeSeeks(), (std::vector<std::int64_t> {15'000'000, 0}));

    // Past the end would be the next track; there is none.
    engine.setPosition(95);
    mpris->seek(10'000'000);
    mpris->seek(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(engine.position(), 95);
    mpris->seek(std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(engine.position(), 0);

    mpris->setPosition(track, 30'500'000);
    EXPECT_EQ(engine.position(), 30.5);
    EXPECT_EQ(mpris->position(), 30'500'000);
    mpris->setPosition(track, 100'000'001);
    mpris->setPosition(track, -1);
    mpris->setPosition("/io/github/lirabox/Track/999", 50'000'000);
    EXPECT_EQ(engine.position(), 30.5);
}

TEST_F(MprisPlayerTest, RatesLandOnTheSpeedListAndVolumesOnTheSlider) {
    loadWithFile(100);
    start();

    mpris->setRate(1.53);
    EXPECT_EQ(form().playRate(), 1.5);
    EXPECT_EQ(view.cboSpeedText(), "1.5");
    EXPECT_EQ(engine.rate(), 1.5);
    EXPECT_EQ(takeChanges(), (std::vector<Names> {{"Rate"}}));
    mpris->setRate(7);
    EXPECT_EQ(mpris->rate(), 3);
    mpris->setRate(0.1);
    EXPECT_EQ(mpris->rate(), 0.5);
    mpris->setRate(std::nan(""));
    EXPECT_EQ(mpris->rate(), 0.5);
    // The speed keys go on from a rate set here.
    form().runCommand(Command::Faster);
    EXPECT_EQ(view.cboSpeedText(), "0.6");

    mpris->setVolume(0.2);
    EXPECT_EQ(form().volumeSlider().Value(), 1000);
    EXPECT_EQ(engine.volume(), 10);
    EXPECT_DOUBLE_EQ(mpris->volume(), 0.2);
    mpris->setVolume(1.5);
    EXPECT_EQ(form().volumeSlider().Value(), 5000);
    mpris->setVolume(-1);
    EXPECT_EQ(form().volumeSlider().Value(), 0);
    takeChanges();

    // Rate 0 is a pause.
    mpris->playPause();
    mpris->setRate(0);
    EXPECT_EQ(mpris->playbackStatus(), "Paused");
    EXPECT_EQ(mpris->rate(), 0.6);
}

}  // namespace
}  // namespace lirabox::test
