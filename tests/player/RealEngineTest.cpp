// The window's behaviour on the real libmpv engine with generated recordings.
#include "MpvEngine.h"
#include "PlayerFakes.h"
#include "Recordings.h"
#include "TempFolder.h"
#include "player/frmMain.h"
#include "support/AppPaths.h"
#include "support/RaisedError.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lirabox::test {
namespace {

class RealEngineTest : public ::testing::Test {
protected:
    RealEngineTest() : savedCwd_(std::filesystem::current_path()) {
        std::filesystem::create_directories(folder.file("program"));
        std::filesystem::create_directories(folder.file("config"));
        setProgramFolder(folder.fileText("program"));
        ::setenv("XDG_CONFIG_HOME", folder.fileText("config").c_str(), 1);
    }
    ~RealEngineTest() override {
        form_.reset();
        std::filesystem::current_path(savedCwd_);
        setProgramFolder("");
    }

    frmMain& form() {
        if (!form_) {
            form_ = std::make_unique<frmMain>(frmMain::Collaborators{
                engine, view, pictures.seekbk, pictures.seekpoint, pictures.volbk, pictures.picArrow, nullptr,
                timepost, instanceGuard, keytap, subclass, nullptr});
        }
        return *form_;
    }

    std::string recording(const std::string& name, double seconds) {
        const auto path = folder.file(name);
        writeSineWav(path, seconds);
        return path.string();
    }

    TempFolder folder;
    media::MpvEngine engine{{{"ao", "null"}}};  // no sound device here
    FakeView view;
    MainWindowPictures pictures;
    RecordingTimepost timepost;
    FixedInstanceGuard instanceGuard;
    NullKeytapApi keytap;
    NullMainWindowSubclass subclass;

private:
    std::filesystem::path savedCwd_;
    std::unique_ptr<frmMain> form_;
};

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

TEST_F(RealEngineTest, TickPublishesTheEnginesPosition) {
    ASSERT_TRUE(form().Form_Load(""));
    form().fileOpen(recording("tick.wav", 5));
    engine.controls().currentPosition(3.0);
    form().Timer2_Timer();
    ASSERT_EQ(timepost.times.size(), 1u);
    EXPECT_DOUBLE_EQ(timepost.times[0], 3.0);
    EXPECT_EQ(view.timeText, "00:00:03 / 00:00:05");
    EXPECT_EQ(form().seekSlider().Value(), 3);
}

TEST_F(RealEngineTest, MissingRecordingShowsTheEnginesErrorNumber) {
    ASSERT_TRUE(form().Form_Load(""));
    form().fileOpen(folder.fileText("nothing-here.wav"));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "エラーが発生しました。\r\nErrCode = " +
                                         std::to_string(kObjectErrorBase + media::kErrCannotOpen));
    EXPECT_EQ(view.fileText, "nothing-here.wav");
}

TEST_F(RealEngineTest, VolumeReachesTheEngineWithoutFailing) {
    ASSERT_TRUE(form().Form_Load(""));
    form().volumeSlider().setValue(5000);
    form().fileOpen(recording("v.wav", 1));
    EXPECT_TRUE(view.messages.empty());
}

}  // namespace
}  // namespace lirabox::test
