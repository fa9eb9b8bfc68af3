// A pedal on the whole path into the player: reports written into a pipe are
// read by the event loop, turned into commands and carried out by the main
// window's behaviour on the real libmpv engine.

#include "MpvEngine.h"
#include "PedalPipe.h"
#include "PlayerFakes.h"
#include "QtTestSupport.h"
#include "Recordings.h"
#include "TempFolder.h"
#include "hotkeys/FootPedals.h"
#include "player/frmMain.h"
#include "support/AppPaths.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdlib>

namespace lirabox::test {
namespace {

using namespace std::chrono_literals;

bool runEventsUntil(const std::function<bool()>& done) { return processEventsUntil(done, 3s); }
void runEventsFor(std::chrono::milliseconds time) { processEventsUntil([] { return false; }, time); }

class PedalPlayerTest : public ::testing::Test {
protected:
    PedalPlayerTest() : mSavedCwd(std::filesystem::current_path()) {
        std::filesystem::create_directories(folder.file("program"));
        std::filesystem::create_directories(folder.file("config"));
        setProgramFolder(folder.fileText("program"));
        ::setenv("XDG_CONFIG_HOME", folder.fileText("config").c_str(), 1);
    }
    ~PedalPlayerTest() override {
        std::filesystem::current_path(mSavedCwd);
        setProgramFolder("");
    }

    double position() { return engine.controls().currentPosition(); }

    TempFolder folder;
    media::MpvEngine engine{{{"ao", "null"}}};  // no sound device here
    FakeView view;
    MainWindowPictures pictures;
    RecordingTimepost timepost;
    FixedInstanceGuard instanceGuard;
    NullKeytapApi keytap;
    NullMainWindowSubclass subclass;
    frmMain form{frmMain::Collaborators{engine, view, pictures.seekbk, pictures.seekpoint, pictures.volbk,
                                        pictures.picArrow, nullptr, timepost, instanceGuard, keytap, subclass,
                                        nullptr}};

private:
    std::filesystem::path mSavedCwd;
};

TEST_F(PedalPlayerTest, MiddleHeldPlaysReleasedPausesAndRightHeldFastForwards) {
    ASSERT_TRUE(form.Form_Load(""));
    const auto recording = folder.file("interview.wav");
    writeSineWav(recording, 120, 440.0, 8000);
    form.fileOpen(recording.string());
    ASSERT_TRUE(view.messages.empty()) << view.messages[0].text;
    form.seekTo(30.0);

    hotkeys::PedalActions actions([this] { return form.pedal_mapping(); },
                                  [this](Command command) { form.runCommand(command); });
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
