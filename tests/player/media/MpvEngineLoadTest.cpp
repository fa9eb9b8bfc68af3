// Loading recordings into the real libmpv engine: lengths, names, a load while
// another recording plays, and every kind of file that must be refused.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>

#include "EngineProbe.h"
#include "SlowOpen.h"
#include "player/media/mpv/MpvEngine.h"
#include "support/RaisedError.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

namespace {

using namespace lirabox::media;
using lirabox::RaisedError;
using lirabox::test::TempFolder;

class MpvEngineLoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sFolder = std::make_unique<TempFolder>();
        lirabox::test::writeSineWav(sFolder->file("tone.wav"), 3.7, 440.0, 44100, 2);
        lirabox::test::makeMp3(sFolder->file("tone.wav"));
        lirabox::test::makeWma(sFolder->file("tone.wav"));
        lirabox::test::writeSineWav(sFolder->file("other tone.wav"), 5.25, 660.0, 22050, 1);
    }
    static void TearDownTestSuite() { sFolder.reset(); }

    static std::string path(const std::string& name) { return sFolder->fileText(name); }

    // Loads `file` with autoStart off, expecting a refusal; returns its number.
    std::int32_t refusedNumber(const std::string& file) {
        mEngine.settings().autoStart(false);
        try {
            mEngine.URL(file);
        } catch (const RaisedError& refused) {
            EXPECT_EQ(refused.source(), "MediaEngine");
            EXPECT_FALSE(refused.description().empty());
            return refused.number();
        }
        ADD_FAILURE() << "no error for " << file;
        return 0;
    }

    void expectNothingLoaded() {
        EXPECT_EQ(mEngine.currentMedia().name(), "");
        EXPECT_EQ(mEngine.currentMedia().duration(), 0.0);
        EXPECT_EQ(mEngine.playState(), kUndefined);
        EXPECT_EQ(mEngine.controls().currentPosition(), 0.0);
    }

    void expectNextLoadWorks() {
        mEngine.settings().autoStart(false);
        mEngine.URL(path("tone.wav"));
        EXPECT_EQ(mEngine.currentMedia().name(), "tone.wav");
        EXPECT_NEAR(mEngine.currentMedia().duration(), 3.7, 0.05);
        EXPECT_EQ(mEngine.playState(), kReady);
    }

    static std::unique_ptr<TempFolder> sFolder;
    MpvEngine mEngine;
};

std::unique_ptr<TempFolder> MpvEngineLoad::sFolder;

TEST_F(MpvEngineLoad, LengthOfEachFormatIsRightAtOnce) {
    for (const char* name : {"tone.wav", "tone.mp3", "tone.wma"}) {
        SCOPED_TRACE(name);
        mEngine.settings().autoStart(false);
        mEngine.URL(path(name));
        EXPECT_NEAR(mEngine.currentMedia().duration(), 3.7, 0.05);
        EXPECT_EQ(mEngine.currentMedia().name(), name);
        EXPECT_EQ(mEngine.currentMedia().sourceURL(), path(name));
    }
    mEngine.URL(path("other tone.wav"));
    EXPECT_NEAR(mEngine.currentMedia().duration(), 5.25, 0.05);
    EXPECT_EQ(mEngine.currentMedia().name(), "other tone.wav");
}

TEST_F(MpvEngineLoad, NothingLoadedAtFirst) { expectNothingLoaded(); }

TEST_F(MpvEngineLoad, WithoutAutoStartNothingPlays) {
    mEngine.settings().autoStart(false);
    mEngine.URL(path("tone.mp3"));
    EXPECT_EQ(mEngine.playState(), kReady);
    EXPECT_EQ(mEngine.controls().currentPosition(), 0.0);
}

TEST_F(MpvEngineLoad, WithAutoStartItPlays) {
    mEngine.settings().autoStart(true);
    mEngine.URL(path("tone.wav"));
    EXPECT_EQ(mEngine.playState(), kPlaying);
    EXPECT_TRUE(lirabox::test::waitUntil(mEngine, [&] { return mEngine.controls().currentPosition() > 0.2; }));
}

TEST_F(MpvEngineLoad, LoadWhileAnotherPlaysReplacesItAndHolds) {
    mEngine.settings().autoStart(false);
    mEngine.URL(path("tone.wav"));
    mEngine.controls().play();
    ASSERT_TRUE(lirabox::test::waitUntil(mEngine, [&] { return mEngine.controls().currentPosition() > 0.3; }));

    mEngine.settings().autoStart(false);
    mEngine.URL(path("other tone.wav"));
    EXPECT_EQ(mEngine.currentMedia().name(), "other tone.wav");
    EXPECT_NEAR(mEngine.currentMedia().duration(), 5.25, 0.05);
    EXPECT_EQ(mEngine.playState(), kReady);
    EXPECT_LT(mEngine.controls().currentPosition(), 0.05);
}

TEST_F(MpvEngineLoad, RelativePathAndOddNamesLoad) {
    // Names that libmpv could take for a protocol or for standard input.
    const std::string odd = path("av:tone.wav");
    std::filesystem::copy_file(path("tone.wav"), odd);
    mEngine.settings().autoStart(false);
    mEngine.URL(odd);
    EXPECT_EQ(mEngine.currentMedia().name(), "av:tone.wav");

    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(sFolder->path());
    std::filesystem::copy_file("tone.wav", "-");
    mEngine.URL("-");
    EXPECT_EQ(mEngine.currentMedia().name(), "-");
    EXPECT_NEAR(mEngine.currentMedia().duration(), 3.7, 0.05);
    std::filesystem::current_path(old);
}

TEST_F(MpvEngineLoad, MissingFileIsRefused) {
    EXPECT_EQ(refusedNumber(path("no such file.wav")), lirabox::kObjectErrorBase + kErrCannotOpen);
    expectNothingLoaded();
    expectNextLoadWorks();
}

TEST_F(MpvEngineLoad, EmptyPathIsRefused) {
    EXPECT_EQ(refusedNumber(""), lirabox::kObjectErrorBase + kErrCannotOpen);
    expectNothingLoaded();
    expectNextLoadWorks();
}

TEST_F(MpvEngineLoad, FolderIsRefused) {
    EXPECT_EQ(refusedNumber(sFolder->path().string()), lirabox::kObjectErrorBase + kErrCannotOpen);
    expectNothingLoaded();
    expectNextLoadWorks();
}

TEST_F(MpvEngineLoad, EmptyFileIsRefused) {
    std::ofstream(path("empty.wav")).close();
    EXPECT_EQ(refusedNumber(path("empty.wav")), lirabox::kObjectErrorBase + kErrNotPlayable);
    expectNothingLoaded();
    expectNextLoadWorks();
}

TEST_F(MpvEngineLoad, RandomBytesNamedMp3AreRefused) {
    std::mt19937 random(20240611u);
    std::ofstream out(path("noise.mp3"), std::ios::binary);
    for (int i = 0; i < 64 * 1024; ++i) out.put(static_cast<char>(random() & 0xFFu));
    out.close();
    EXPECT_EQ(refusedNumber(path("noise.mp3")), lirabox::kObjectErrorBase + kErrNotPlayable);
    expectNothingLoaded();
    expectNextLoadWorks();
}

TEST_F(MpvEngineLoad, TruncatedWavIsRefused) {
    std::ifstream in(path("tone.wav"), std::ios::binary);
    char header[30];
    in.read(header, sizeof header);
    std::ofstream(path("cut.wav"), std::ios::binary).write(header, sizeof header);
    EXPECT_EQ(refusedNumber(path("cut.wav")), lirabox::kObjectErrorBase + kErrNotPlayable);
    expectNothingLoaded();
    expectNextLoadWorks();
}

TEST_F(MpvEngineLoad, WavCutInsideTheSoundPlaysWhatIsThere) {
    // 44-byte header, then 1.5 s of the 3.7 s the header announces (stereo, 16-bit, 44.1 kHz).
    std::ifstream in(path("tone.wav"), std::ios::binary);
    std::vector<char> head(44 + 44100 * 4 * 3 / 2);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    std::ofstream(path("half.wav"), std::ios::binary).write(head.data(), static_cast<std::streamsize>(head.size()));
    mEngine.settings().autoStart(false);
    mEngine.URL(path("half.wav"));
    EXPECT_NEAR(mEngine.currentMedia().duration(), 1.5, 0.05);
}

TEST_F(MpvEngineLoad, PictureWithoutSoundIsRefused) {
    const std::string picture = path("picture.png");
    ASSERT_EQ(
        std::system(("ffmpeg -nostdin -loglevel error -y -f lavfi -i color=c=red:s=16x16 -frames:v 1 '" + picture + "'")
                        .c_str()),
        0);
    EXPECT_EQ(refusedNumber(picture), lirabox::kObjectErrorBase + kErrNotPlayable);
    expectNothingLoaded();
    expectNextLoadWorks();
}

TEST_F(MpvEngineLoad, PlaylistIsNotFollowed) {
    std::ofstream(path("list.m3u")) << "#EXTM3U\n" << path("tone.wav") << "\n";
    EXPECT_NE(refusedNumber(path("list.m3u")), 0);
    expectNothingLoaded();
    expectNextLoadWorks();
}

// A file that opens but that the decoder refuses has replaced the recording.
TEST_F(MpvEngineLoad, AFileTheDecoderRefusesWhilePlayingLeavesNothingLoaded) {
    mEngine.settings().autoStart(true);
    mEngine.URL(path("tone.wav"));
    std::ofstream(path("empty.wav")).close();
    EXPECT_NE(refusedNumber(path("empty.wav")), 0);
    expectNothingLoaded();
    // Commands without a recording do nothing and do not fail.
    mEngine.controls().play();
    mEngine.controls().currentPosition(2.0);
    mEngine.controls().pause();
    mEngine.controls().stop();
    expectNothingLoaded();
    expectNextLoadWorks();
}

// A recording whose open takes 2.5 s, as on a disk that spins up: the load
// waits for it while the caller's waiter keeps running, and a second load
// meanwhile is refused without harm.
TEST_F(MpvEngineLoad, ASlowOpenLoadsWhileTheWaiterRunsAndRefusesASecondLoad) {
    lirabox::test::SlowOpen slow(path("other tone.wav"), std::chrono::milliseconds(2500));
    int waiterRounds = 0;
    std::int32_t secondLoad = 0;
    mEngine.setLoadWaiter([&](const std::function<bool()>& waitBriefly) {
        while (!waitBriefly()) {
            if (++waiterRounds == 3) secondLoad = refusedNumber(path("tone.wav"));
            EXPECT_EQ(mEngine.playState(), kUndefined);
        }
    });
    mEngine.settings().autoStart(false);
    mEngine.URL(path("other tone.wav"));
    EXPECT_EQ(mEngine.currentMedia().name(), "other tone.wav");
    EXPECT_NEAR(mEngine.currentMedia().duration(), 5.25, 0.05);
    EXPECT_GT(waiterRounds, 20);  // about every 50 ms
    EXPECT_EQ(secondLoad, lirabox::kObjectErrorBase + kErrLoadBusy);
    mEngine.controls().play();
    EXPECT_TRUE(lirabox::test::waitUntil(mEngine, [&] { return mEngine.controls().currentPosition() > 0.2; }));
}

TEST_F(MpvEngineLoad, AnOpenSlowerThanTheLimitIsATimeout) {
    lirabox::test::SlowOpen slow(path("other tone.wav"), std::chrono::milliseconds(3000));
    mEngine.setLoadLimit(std::chrono::milliseconds(500));
    EXPECT_EQ(refusedNumber(path("other tone.wav")), lirabox::kObjectErrorBase + kErrLoadTimeout);
    expectNothingLoaded();
    // The next load waits for libmpv to finish with the slow open first.
    mEngine.setLoadLimit(kLoadWait);
    expectNextLoadWorks();
}

// A load begun ahead (as the program does while it builds its window) is
// taken over by the load of the same file, which then holds at a position
// set afterwards and plays from there.
TEST_F(MpvEngineLoad, APreparedLoadIsTakenOverAndPlaysFromThePositionSetAfterwards) {
    mEngine.prepare(path("other tone.wav"), std::chrono::seconds(5));
    mEngine.settings().volume(40);
    mEngine.settings().rate(1.5);
    mEngine.settings().autoStart(false);
    mEngine.URL(path("other tone.wav"));
    EXPECT_EQ(mEngine.playState(), kReady);
    EXPECT_NEAR(mEngine.currentMedia().duration(), 5.25, 0.05);
    mEngine.controls().currentPosition(3.0);
    mEngine.controls().play();
    EXPECT_TRUE(lirabox::test::waitUntil(mEngine, [&] { return mEngine.controls().currentPosition() > 3.2; }));
    EXPECT_LT(mEngine.controls().currentPosition(), 5.25);
}

// The load of another file drops the begun one; a begun load of a file that
// cannot be played reports its error when the load of that file asks for it,
// and a begun open slower than its wait is finished by that load's waiter.
TEST_F(MpvEngineLoad, APreparedLoadGivesWayToAnotherFileAndKeepsItsErrorForItsOwn) {
    mEngine.prepare(path("tone.wav"), std::chrono::seconds(5));
    mEngine.settings().autoStart(false);
    mEngine.URL(path("other tone.wav"));
    EXPECT_EQ(mEngine.currentMedia().name(), "other tone.wav");
    EXPECT_NEAR(mEngine.currentMedia().duration(), 5.25, 0.05);

    MpvEngine fresh {{{"ao", "null"}}};
    fresh.prepare(path("no such file.wav"), std::chrono::seconds(5));
    fresh.settings().autoStart(false);
    try {
        fresh.URL(path("no such file.wav"));
        ADD_FAILURE() << "no error for a missing file";
    } catch (const RaisedError& refused) {
        EXPECT_EQ(refused.number(), lirabox::kObjectErrorBase + kErrCannotOpen);
    }

    MpvEngine slowly {{{"ao", "null"}}};
    lirabox::test::SlowOpen slow(path("tone.mp3"), std::chrono::milliseconds(1000));
    slowly.prepare(path("tone.mp3"), std::chrono::milliseconds(50));
    int waiterRounds = 0;
    slowly.setLoadWaiter([&](const std::function<bool()>& waitBriefly) {
        while (!waitBriefly()) ++waiterRounds;
    });
    slowly.settings().autoStart(false);
    slowly.URL(path("tone.mp3"));
    EXPECT_EQ(slowly.playState(), kReady);
    EXPECT_GT(waiterRounds, 5);
}

TEST(MpvEngineStart, AnEngineStartedOnAThreadHasTheRecordingLoading) {
    TempFolder folder;
    lirabox::test::writeSineWav(folder.file("tone.wav"), 2.5, 440.0, 22050, 1);
    auto started = startMpvEngine(folder.fileText("tone.wav"), {{"ao", "null"}});
    const std::unique_ptr<MpvEngine> engine = started.get();
    engine->settings().autoStart(false);
    engine->URL(folder.fileText("tone.wav"));
    EXPECT_EQ(engine->currentMedia().name(), "tone.wav");
    EXPECT_NEAR(engine->currentMedia().duration(), 2.5, 0.05);
    EXPECT_EQ(engine->playState(), kReady);
}

// The program's start plays before its window exists, then takes the sound
// over as it would load and play the file itself.
TEST(MpvEngineHeadStart, APlayingStartIsTakenOverWhereItStandsAndOnlyByItsOwnFile) {
    TempFolder folder;
    lirabox::test::writeSineWav(folder.file("talk.wav"), 60, 440.0, 8000, 1);
    lirabox::test::writeSineWav(folder.file("other.wav"), 3, 660.0, 8000, 1);
    const std::string talk = folder.fileText("talk.wav");
    const auto position = [](MpvEngine& engine) { return engine.controls().currentPosition(); };
    const auto startPlaying = [&](MpvEngine& engine) {
        engine.prepare(talk, std::chrono::milliseconds(50));
        ASSERT_TRUE(engine.awaitPrepared(std::chrono::seconds(10)));
        engine.settings().autoStart(false);
        engine.URL(talk);
        engine.controls().currentPosition(20);
        engine.controls().play();
        ASSERT_TRUE(engine.awaitSound(std::chrono::seconds(10)));
        engine.keepPlayingForTakeover(20);
    };

    MpvEngine engine {{{"ao", "null"}}};
    startPlaying(engine);
    // The owner's start: its settings wait for its load, which finds the sound
    // playing on; its move to the start is where the sound already is.
    engine.settings().volume(25);
    engine.settings().rate(1.0);
    ASSERT_TRUE(lirabox::test::waitUntil(engine, [&] { return position(engine) > 20.3; }));
    engine.settings().autoStart(false);
    engine.URL(talk);
    EXPECT_EQ(engine.playState(), kPlaying);
    EXPECT_NEAR(engine.currentMedia().duration(), 60, 0.05);
    engine.controls().currentPosition(20);
    engine.controls().play();
    EXPECT_GT(position(engine), 20.3);
    // Only that first move is dropped.
    engine.controls().currentPosition(20);
    EXPECT_LT(position(engine), 20.3);

    // Another file is loaded as always.
    MpvEngine another {{{"ao", "null"}}};
    startPlaying(another);
    another.settings().autoStart(false);
    another.URL(folder.fileText("other.wav"));
    EXPECT_EQ(another.currentMedia().name(), "other.wav");
    EXPECT_EQ(another.playState(), kReady);
    EXPECT_EQ(position(another), 0.0);

    // A file that cannot load is not waited for and is reported by the load.
    MpvEngine refused {{{"ao", "null"}}};
    refused.prepare(folder.fileText("missing.wav"), std::chrono::milliseconds(50));
    EXPECT_FALSE(refused.awaitPrepared(std::chrono::seconds(10)));
    EXPECT_FALSE(refused.awaitSound(std::chrono::seconds(10)));
    refused.settings().autoStart(false);
    EXPECT_THROW(refused.URL(folder.fileText("missing.wav")), RaisedError);
}

TEST_F(MpvEngineLoad, RecentlyOpenedListKeepsEachFileOnceNewestFirst) {
    mEngine.mediaCollection().add(path("tone.wav"));
    mEngine.mediaCollection().add(path("tone.mp3"));
    mEngine.mediaCollection().add(path("tone.wav"));
    const std::vector<std::string> expected {path("tone.wav"), path("tone.mp3")};
    EXPECT_EQ(mEngine.recentMedia().entries(), expected);
}

}  // namespace
