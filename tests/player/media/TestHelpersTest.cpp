// The helpers other test areas build on: the in-memory engine, the recently
// opened list, the recordings made for tests.

#include <gtest/gtest.h>

#include <fstream>

#include "EngineProbe.h"
#include "player/media/RecentMedia.h"
#include "player/media/fake/FakeMediaEngine.h"
#include "support/RaisedError.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

namespace {

using namespace lirabox::media;
using lirabox::test::FakeMediaEngine;

TEST(FakeMediaEngine, LoadsWithoutPlayingAndRecordsTheCallsInOrder) {
    FakeMediaEngine engine;
    engine.setDurationFor("/rec/a.wav", 12.5);
    engine.settings().autoStart(false);
    engine.URL("/rec/a.wav");
    engine.mediaCollection().add(engine.currentMedia().sourceURL());
    engine.settings().rate(1.0);
    EXPECT_EQ(engine.currentMedia().duration(), 12.5);
    EXPECT_EQ(engine.currentMedia().name(), "a.wav");
    EXPECT_EQ(engine.playState(), kReady);

    const std::vector<std::string> expected {"settings.autoStart(false)",
                                             "URL(/rec/a.wav)",
                                             "currentMedia.sourceURL()",
                                             "mediaCollection.add(/rec/a.wav)",
                                             "settings.rate(1)",
                                             "currentMedia.duration()",
                                             "currentMedia.name()",
                                             "playState()"};
    EXPECT_EQ(engine.calls(), expected);
    const std::vector<std::string> commands {
        "settings.autoStart(false)", "URL(/rec/a.wav)", "mediaCollection.add(/rec/a.wav)", "settings.rate(1)"};
    EXPECT_EQ(engine.commands(), commands);
    EXPECT_EQ(engine.library(), std::vector<std::string> {"/rec/a.wav"});
}

TEST(FakeMediaEngine, TransportFollowsTheEngineRulesAndRecordsPositionsAsAsked) {
    FakeMediaEngine engine;
    engine.controls().play();
    EXPECT_EQ(engine.playState(), kUndefined);  // nothing loaded
    engine.settings().autoStart(false);
    engine.URL("/rec/a.wav");
    engine.controls().currentPosition(-2.0);
    EXPECT_EQ(engine.calls().back(), "controls.currentPosition(-2)");
    EXPECT_EQ(engine.position(), 0.0);
    engine.controls().play();
    EXPECT_EQ(engine.state(), kPlaying);
    engine.controls().pause();
    EXPECT_EQ(engine.state(), kPaused);
    engine.setPosition(30.0);
    engine.controls().stop();
    EXPECT_EQ(engine.state(), kStopped);
    EXPECT_EQ(engine.position(), 0.0);
    engine.settings().rate(0.7000000000000001);
    EXPECT_EQ(engine.calls().back(), "settings.rate(0.7)");
    EXPECT_EQ(engine.count("controls.play()"), 2);
}

TEST(FakeMediaEngine, FailuresCanBeMadeOnLoadsAndOnAnyOperation) {
    FakeMediaEngine engine;
    engine.URL("/rec/a.wav");
    engine.failLoad("/rec/bad.mp3", 1234);
    try {
        engine.URL("/rec/bad.mp3");
        FAIL() << "no error";
    } catch (const lirabox::RaisedError& error) {
        EXPECT_EQ(error.number(), 1234);
    }
    EXPECT_FALSE(engine.loaded());
    EXPECT_EQ(engine.currentMedia().name(), "");
    EXPECT_EQ(engine.currentMedia().duration(), 0.0);

    engine.failOperation("controls.play", 99);
    EXPECT_THROW(engine.controls().play(), lirabox::RaisedError);
    EXPECT_EQ(engine.calls().back(), "controls.play()");
    engine.clearFailures();
    engine.URL("/rec/bad.mp3");
    EXPECT_EQ(engine.currentMedia().name(), "bad.mp3");
}

TEST(RecentMedia, KeepsTheNewestEntriesUpToItsSize) {
    RecentMedia recent(3);
    for (const char* url : {"a", "b", "c", "d", "", "b"}) recent.add(url);
    EXPECT_EQ(recent.entries(), (std::vector<std::string> {"b", "d", "c"}));
}

TEST(Recordings, SineWavHasTheAskedLengthLayoutAndTone) {
    lirabox::test::TempFolder folder;
    lirabox::test::writeSineWav(folder.file("t.wav"), 1.5, 1000.0, 8000, 2);
    EXPECT_EQ(std::filesystem::file_size(folder.file("t.wav")), 44u + 12000u * 4u);
    lirabox::test::writeSineWav(folder.file("m.wav"), 1.5, 1000.0, 8000, 1);
    const auto pcm = lirabox::test::readPcmWav(folder.file("m.wav"));
    EXPECT_EQ(pcm.samples.size(), 12000u);
    EXPECT_NEAR(lirabox::test::dominantFrequency(pcm, 500.0, 2000.0), 1000.0, 1.0);
}

TEST(Recordings, EncodingAMissingFileFailsClearly) {
    lirabox::test::TempFolder folder;
    EXPECT_THROW(lirabox::test::makeMp3(folder.file("missing.wav")), std::runtime_error);
}

TEST(TempFolder, IsRemovedWithItsContents) {
    std::filesystem::path where;
    {
        lirabox::test::TempFolder folder;
        where = folder.path();
        std::ofstream(folder.file("x")) << "x";
        EXPECT_TRUE(std::filesystem::is_directory(where));
    }
    EXPECT_FALSE(std::filesystem::exists(where));
}

}  // namespace
