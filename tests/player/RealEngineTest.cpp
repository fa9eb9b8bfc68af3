// The window's behaviour on the real libmpv engine with generated recordings.
#include "RealEngineFixture.h"
#include "support/RaisedError.h"
#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>

namespace lirabox::test {
namespace {

TEST_F(RealEngineTest, OpenedRecordingShowsItsNameAndLength) {
    ASSERT_TRUE(form().Form_Load(""));
    form().fileOpen(recording("short.wav", 2.5));
    ASSERT_TRUE(view.messages.empty()) << view.messages[0].text;
    EXPECT_EQ(view.fileText, "short.wav");
    EXPECT_EQ(form().seekSlider().Max(), 2);
    EXPECT_EQ(form().repeatEnd(), 2);
    EXPECT_EQ(view.timeText, "00:00:00 / 00:00:02");
    EXPECT_NE(engine.playState(), media::kPlaying);

    form().fileOpen(recording("longer.wav", 3.5));
    EXPECT_EQ(form().seekSlider().Max(), 4);
    EXPECT_EQ(view.timeText, "00:00:00 / 00:00:04");
}

TEST_F(RealEngineTest, CommandLineRecordingPlaysFromItsStartSecond) {
    const std::string path = recording("talk.wav", 5);
    ASSERT_TRUE(form().Form_Load(path + "/t=2"));
    ASSERT_TRUE(view.messages.empty()) << view.messages[0].text;
    EXPECT_EQ(engine.playState(), media::kPlaying);
    EXPECT_TRUE(view.timer2);
    EXPECT_GE(engine.controls().currentPosition(), 2.0);
    form().PauseFunc();
    EXPECT_EQ(engine.playState(), media::kPaused);
    EXPECT_FALSE(view.timer2);
}

TEST_F(RealEngineTest, BlankBeforeTheStartSecondStillOpensTheRecording) {
    const std::string path = recording("talk.wav", 5);
    ASSERT_TRUE(form().Form_Load(path + " /t=2"));
    ASSERT_TRUE(view.messages.empty()) << view.messages[0].text;
    EXPECT_EQ(view.fileText, "talk.wav");
    EXPECT_EQ(engine.playState(), media::kPlaying);
}

TEST_F(RealEngineTest, TickPublishesTheEnginesPosition) {
    ASSERT_TRUE(form().Form_Load(""));
    form().fileOpen(recording("tick.wav", 5));
    ASSERT_FALSE(timepost.times.empty());
    EXPECT_EQ(timepost.times.back(), 0.0);  // the load's position
    timepost.times.clear();
    engine.controls().currentPosition(3.0);
    form().Timer2_Timer();
    EXPECT_EQ(timepost.times, (std::vector<double> {3.0}));
    EXPECT_EQ(view.timeText, "00:00:03 / 00:00:05");
    EXPECT_EQ(form().seekSlider().Value(), 3);
}

// The message keeps the error lines, then names the file and says why.
TEST_F(RealEngineTest, ARecordingThatCannotBeLoadedIsNamedWithTheReason) {
    ASSERT_TRUE(form().Form_Load(""));
    const std::string cannotOpen =
        "エラーが発生しました。\r\nErrCode = " + std::to_string(kObjectErrorBase + media::kErrCannotOpen);
    const std::string missing = folder.fileText("nothing-here.wav");
    form().fileOpen(missing);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, cannotOpen + "\r\n" + missing + "\r\nファイルが存在しません。");
    EXPECT_EQ(view.fileText, "nothing-here.wav");

    const std::string aFolder = folder.fileText("program");
    form().fileOpen(aFolder);
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[1].text, cannotOpen + "\r\n" + aFolder + "\r\nLirabox はこのファイルを読み込めません。");

    const std::string text = folder.fileText("notes.mp3");
    std::ofstream(text) << std::string(4096, 'x');
    form().fileOpen(text);
    ASSERT_EQ(view.messages.size(), 3u);
    EXPECT_EQ(view.messages[2].text.substr(view.messages[2].text.find("\r\n/")),
              "\r\n" + text + "\r\nLirabox で再生できる録音ではありません。");

    // The command line's recording is named the same way.
    form().playCommandLineFile(missing, 3);
    ASSERT_EQ(view.messages.size(), 4u);
    EXPECT_EQ(view.messages[3].text, view.messages[0].text);
}

TEST_F(RealEngineTest, VolumeReachesTheEngineWithoutFailing) {
    ASSERT_TRUE(form().Form_Load(""));
    form().volumeSlider().setValue(5000);
    form().fileOpen(recording("v.wav", 1));
    EXPECT_TRUE(view.messages.empty());
}

// A recording without marks plays to its real end and stops there, whatever
// the fraction of its length: the tick neither restarts it (by seeking while
// the engine reports the end) nor loops it (at the length rounded down).
class RecordingEndTest : public RealEngineTest, public ::testing::WithParamInterface<double> {};

TEST_P(RecordingEndTest, WithoutMarksPlaybackEndsAtTheRealEndAndStops) {
    const double length = GetParam();
    const std::string path = recording("end.wav", length);
    ASSERT_TRUE(form().Form_Load(path + "/t=18"));
    const std::vector<double> positions = tickWhileOn();
    ASSERT_FALSE(view.timer2) << "the tick still runs at " << engine.controls().currentPosition();
    for (std::size_t i = 1; i < positions.size(); ++i) {
        ASSERT_GE(positions[i], positions[i - 1]) << "went back at tick " << i;
    }
    EXPECT_EQ(engine.playState(), media::kMediaEnded);
    EXPECT_NEAR(engine.controls().currentPosition(), length, 0.05);
    const auto settled = waitStable([&] { return std::pair(engine.playState(), engine.controls().currentPosition()); },
                                    std::chrono::milliseconds(300),
                                    std::chrono::seconds(5));
    ASSERT_TRUE(settled) << "the position still moves at the end";
    EXPECT_EQ(settled->first, media::kMediaEnded);
    EXPECT_NEAR(settled->second, length, 0.05);

    // The next play steps back by the automatic rewind from the end.
    form().PPFunc();
    EXPECT_EQ(engine.playState(), media::kPlaying);
    EXPECT_NEAR(engine.controls().currentPosition(), length - 1, 0.3);
}

INSTANTIATE_TEST_SUITE_P(Fractions, RecordingEndTest, ::testing::Values(20.3, 20.51));

// Timepost hears every position a command sets while the tick is off, so a
// program reading it agrees with the window: through the reference library,
// which writes the position file a reader reads.
TEST_F(RealEngineTest, CommandsWhileNotPlayingShowAndPublishTheNewPosition) {
    const std::filesystem::path runtime = folder.file("runtime");
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    TimepostLibrary receiver({(std::filesystem::path(executablePath()).parent_path() / "libtimepost.so").string()});
    ASSERT_TRUE(receiver.isBound());
    timepostSink = &receiver;
    const auto published = [&] {
        std::ifstream in(runtime / "lirabox" / "position");
        std::string line;
        std::getline(in, line);
        return line;
    };
    // What a reader sees is where the engine stands (to the file's three decimals).
    const auto agreesWithTheEngine = [&] {
        return std::abs(std::stod(published()) - engine.controls().currentPosition()) < 0.001;
    };

    ASSERT_TRUE(form().Form_Load(recording("played.wav", 10) + "/t=5"));
    form().Timer2_Timer();
    EXPECT_EQ(published().substr(0, 2), "5.");
    form().StopFunc();
    EXPECT_EQ(published(), "0.000 00:00:00");

    form().fileOpen(recording("paused.wav", 10));
    form().set_forward_time(3);
    form().ForwardFunc();
    EXPECT_EQ(view.timeText, "00:00:03 / 00:00:10");
    EXPECT_EQ(form().seekSlider().Value(), 3);
    EXPECT_EQ(published(), "3.000 00:00:03");

    form().seekpoint_MouseDown();
    form().seekpoint_MouseMove(pictures.seekbk.Width() * 0.8 - pictures.seekpoint.Left());
    form().seekpoint_MouseUp();
    EXPECT_EQ(engine.playState(), media::kPaused);
    EXPECT_EQ(view.timeText, "00:00:08 / 00:00:10");
    EXPECT_EQ(form().seekSlider().Value(), 8);
    EXPECT_NEAR(engine.controls().currentPosition(), 8, 0.01);
    EXPECT_TRUE(agreesWithTheEngine()) << published();

    form().RewindFunc();
    EXPECT_EQ(view.timeText, "00:00:06 / 00:00:10");
    EXPECT_TRUE(agreesWithTheEngine()) << published();
    form().seekTo(7.5);
    EXPECT_EQ(published(), "7.500 00:00:07");

    // A new recording starts at 0, and so does what a reader sees.
    form().fileOpen(recording("next.wav", 4));
    EXPECT_EQ(published(), "0.000 00:00:00");
    form().set_forward_time(2);
    form().ForwardFunc();
    form().StopFunc();
    EXPECT_EQ(view.timeText, "00:00:00 / 00:00:04");
    EXPECT_EQ(form().seekSlider().Value(), 0);
    EXPECT_EQ(published(), "0.000 00:00:00");
}

// A recording of more than 32767 s (nine hours) loads without an error and
// whole: its length is shown, it plays, and the tick does not pull it back to 0.
TEST_F(RealEngineTest, RecordingOfMoreThanNineHoursLoadsAndPlaysNormally) {
    constexpr std::uint32_t kRate = 8000;
    constexpr std::uint32_t kSeconds = 33000;
    constexpr std::uint32_t kData = kRate * 2 * kSeconds;  // silence, 16-bit mono
    const auto path = folder.file("night.wav");
    {
        std::ofstream out(path, std::ios::binary);
        const auto put = [&](std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xff));
        };
        out << "RIFF";
        put(36 + kData, 4);
        out << "WAVEfmt ";
        put(16, 4), put(1, 2), put(1, 2), put(kRate, 4), put(kRate * 2, 4), put(2, 2), put(16, 2);
        out << "data";
        put(kData, 4);
    }
    std::filesystem::resize_file(path, 44 + kData);  // sparse: no disk space taken

    ASSERT_TRUE(form().Form_Load(""));
    form().fileOpen(path.string());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.timeText, "00:00:00 / 09:10:00");
    EXPECT_EQ(form().seekSlider().Max(), 33000);
    EXPECT_EQ(form().repeatStart(), 0);
    EXPECT_EQ(form().repeatEnd(), 33000);

    engine.controls().currentPosition(20000);
    form().PlayFunc();
    for (int i = 0; i < 5; ++i) form().Timer2_Timer();
    EXPECT_EQ(engine.playState(), media::kPlaying);
    EXPECT_NEAR(engine.controls().currentPosition(), 19999, 1.0);
    EXPECT_EQ(view.timeText.substr(view.timeText.size() - 8), "09:10:00");
}

}  // namespace
}  // namespace lirabox::test
