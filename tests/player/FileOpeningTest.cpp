#include "PlayerFixture.h"
#include "support/RaisedError.h"

namespace lirabox::test {
namespace {

class FileOpeningTest : public PlayerTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(load());
        engine.clearCalls();
    }
};

TEST_F(FileOpeningTest, LoadShowsTheNameAndResetsTheFileState) {
    engine.setDurationFor("/rec/day 1/talk.wav", 90.4);
    form().fileOpen("/rec/day 1/talk.wav");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.fileText, "talk.wav");
    EXPECT_EQ(engine.url(), "/rec/day 1/talk.wav");
    EXPECT_EQ(engine.library(), (std::vector<std::string> {"/rec/day 1/talk.wav"}));
    EXPECT_EQ(form().seekSlider().Max(), 90);
    EXPECT_EQ(view.timeText, "00:00:00 / 00:01:30");
    EXPECT_EQ(form().repeatStart(), 0);
    EXPECT_EQ(form().repeatEnd(), 90);
    EXPECT_EQ(view.focus, (std::vector<ShownWindow> {ShownWindow::Main}));
    EXPECT_NE(engine.state(), media::kPlaying);
}

TEST_F(FileOpeningTest, LoadTalksToTheEngineInOrder) {
    form().fileOpen("/rec/a.wav");
    EXPECT_EQ(engine.commands(),
              (std::vector<std::string> {"settings.autoStart(false)",
                                         "settings.autoStart(false)",
                                         "URL(/rec/a.wav)",
                                         "mediaCollection.add(/rec/a.wav)",
                                         "settings.rate(1)"}));
}

TEST_F(FileOpeningTest, NameEndingInASeparatorShowsEmptyText) {
    form().fileOpen("/rec/folder/");
    EXPECT_EQ(view.fileText, "");
}

TEST_F(FileOpeningTest, BackslashIsNotASeparator) {
    form().fileOpen("/rec/a\\b.wav");
    EXPECT_EQ(view.fileText, "a\\b.wav");
}

TEST_F(FileOpeningTest, LengthIsRoundedHalvesToEven) {
    engine.setDurationFor("/rec/a.wav", 2.5);
    engine.setDurationFor("/rec/b.wav", 3.5);
    form().fileOpen("/rec/a.wav");
    EXPECT_EQ(form().seekSlider().Max(), 2);
    EXPECT_EQ(form().repeatEnd(), 2);
    form().fileOpen("/rec/b.wav");
    EXPECT_EQ(form().seekSlider().Max(), 4);
    EXPECT_EQ(form().repeatEnd(), 4);
}

TEST_F(FileOpeningTest, OpeningWhilePlayingLoadsWithoutPlayingAndClearsTheMarks) {
    form().fileOpen("/rec/a.wav");
    form().PlayFunc();
    engine.setPosition(20);
    form().setRepeatStartFunc();
    engine.setPosition(30);
    form().setRepeatEndFunc();
    form().fileOpen("/rec/b.wav");
    EXPECT_EQ(engine.url(), "/rec/b.wav");
    EXPECT_NE(engine.state(), media::kPlaying);
    EXPECT_EQ(form().repeatStart(), 0);
    EXPECT_EQ(form().repeatEnd(), 60);
}

TEST_F(FileOpeningTest, OneLineModeGivesTheFocusToTheOneLineWindow) {
    form().setFullMode(false);
    form().OLEDragDrop({"/rec/a.wav"});
    EXPECT_EQ(view.focus, (std::vector<ShownWindow> {ShownWindow::OneLine}));
    form().setFullMode(true);
    form().OLEDragDrop({"/rec/a.wav"});
    EXPECT_EQ(view.focus.back(), ShownWindow::Main);
}

TEST_F(FileOpeningTest, LoadWhileTheTickIsOffShowsTheNewPosition) {
    form().fileOpen("/rec/a.wav");
    form().seekSlider().setValue(30);
    const double left = pictures.seekpoint.Left();
    engine.setDurationFor("/rec/b.wav", 600);
    form().fileOpen("/rec/b.wav");
    EXPECT_EQ(form().seekSlider().Value(), 0);
    EXPECT_LT(pictures.seekpoint.Left(), left);
    EXPECT_EQ(pictures.seekpoint.Left(), 0);
}

TEST_F(FileOpeningTest, DropOpensOnlyTheFirstFile) {
    form().OLEDragDrop({"/rec/1.wav", "/rec/2.wav", "/rec/3.wav"});
    EXPECT_EQ(engine.count("URL(/rec/1.wav)"), 1);
    EXPECT_EQ(engine.count("URL(/rec/2.wav)"), 0);
    EXPECT_EQ(engine.count("URL(/rec/3.wav)"), 0);
}

TEST_F(FileOpeningTest, DropWithoutFilesChangesNothing) {
    form().OLEDragDrop({});
    EXPECT_TRUE(engine.calls().empty());
    EXPECT_EQ(view.fileText, "ファイルがありません");
}

TEST_F(FileOpeningTest, OpenDialogIsConfiguredAndItsChoiceLoaded) {
    view.openAnswer = "/rec/chosen.mp3";
    form().cmdOpen_Click();
    ASSERT_EQ(view.openRequests.size(), 1u);
    const auto& request = view.openRequests[0];
    EXPECT_EQ(request.title, "サウンドファイルの指定");
    EXPECT_EQ(request.filter,
              "音声ファイル(*.wav;*.mp3)|*.wav;*.mp3|WindowsMediaAudio(*.wma)|*.wma|全てのファイル(*)|*"
              "|その他の音声ファイル(*.m4a;*.aac;*.ogg;*.opus;*.flac)|*.m4a;*.aac;*.ogg;*.opus;*.flac");
    EXPECT_EQ(request.defaultExtension, "wav");
    EXPECT_EQ(request.flags, 6148);
    EXPECT_EQ(engine.url(), "/rec/chosen.mp3");
    EXPECT_EQ(view.fileText, "chosen.mp3");
}

TEST_F(FileOpeningTest, MenuOpenIsTheOpenButton) {
    view.openAnswer = "/rec/menu.wav";
    form().runCommand(Command::Open);
    EXPECT_EQ(view.openRequests.size(), 1u);
    EXPECT_EQ(engine.url(), "/rec/menu.wav");
}

TEST_F(FileOpeningTest, CancelledDialogLoadsNothing) {
    view.openAnswer = "/rec/first.wav";
    form().cmdOpen_Click();
    engine.clearCalls();
    view.openAnswer.reset();
    form().cmdOpen_Click();
    EXPECT_TRUE(engine.calls().empty());
    EXPECT_EQ(view.fileText, "first.wav");
}

TEST_F(FileOpeningTest, LoadFailureShowsTheErrorNumberAndKeepsWhatWasDone) {
    engine.failLoad("/rec/broken.wav", RaisedError::object(4002, "", "").number());
    form().fileOpen("/rec/broken.wav");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(
        view.messages[0].text,
        "エラーが発生しました。\r\nErrCode = -2147217502\r\n/rec/broken.wav\r\nLirabox で再生できる録音ではありません。");
    EXPECT_EQ(view.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(view.messages[0].title, "Lirabox");
    EXPECT_EQ(view.fileText, "broken.wav");
    EXPECT_TRUE(view.focus.empty());
}

TEST_F(FileOpeningTest, RecordingLongerThan32767SecondsLoadsWholeWithoutAnError) {
    form().fileOpen("/rec/a.wav");
    engine.setPosition(10);
    form().setRepeatStartFunc();
    engine.setDurationFor("/rec/long.wav", 32768);
    form().fileOpen("/rec/long.wav");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.timeText, "00:00:00 / 09:06:08");
    EXPECT_EQ(engine.url(), "/rec/long.wav");
    EXPECT_EQ(form().seekSlider().Max(), 32768);
    EXPECT_EQ(form().repeatStart(), 0);
    EXPECT_EQ(form().repeatEnd(), 32768);
}

TEST_F(FileOpeningTest, CommandLineFilePlaysFromTheStartSecond) {
    const int events = view.doEvents;
    form().playCommandLineFile("/rec/a.wav", 90);
    EXPECT_EQ(engine.state(), media::kPlaying);
    EXPECT_EQ(engine.position(), 90);
    EXPECT_TRUE(view.timer2);
    EXPECT_EQ(view.doEvents - events, 1);
    EXPECT_TRUE(view.focus.empty());
    EXPECT_EQ(view.fileText, "a.wav");
}

TEST_F(FileOpeningTest, CommandLineFileAppliesTheChosenRate) {
    form().SpeedFunc(0);
    engine.clearCalls();
    form().playCommandLineFile("/rec/a.wav", 0);
    const auto commands = engine.commands();
    EXPECT_EQ(std::vector<std::string>(commands.end() - 3, commands.end()),
              (std::vector<std::string> {"settings.rate(1.1)", "controls.currentPosition(0)", "controls.play()"}));
}

TEST_F(FileOpeningTest, CommandLineFileWithoutAMediaNameIsShownButNotPlayed) {
    engine.setNameFor("/rec/odd.wav", "");
    form().playCommandLineFile("/rec/odd.wav", 5);
    EXPECT_EQ(view.fileText, "odd.wav");
    EXPECT_EQ(view.timeText, "00:00:00 / 00:01:00");
    EXPECT_NE(engine.state(), media::kPlaying);
    EXPECT_FALSE(view.timer2);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(FileOpeningTest, RecordingLongerThan32767SecondsFromTheCommandLinePlaysWithoutAnError) {
    engine.setDurationFor("/rec/long.wav", 40000);
    form().playCommandLineFile("/rec/long.wav", 35000);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.timeText, "09:43:20 / 11:06:40");
    EXPECT_EQ(engine.state(), media::kPlaying);
    EXPECT_EQ(engine.position(), 35000);
    EXPECT_TRUE(view.timer2);
}

TEST_F(FileOpeningTest, CommandLineFileThatFailsReportsIt) {
    engine.failLoad("/rec/missing.wav", 53);
    form().playCommandLineFile("/rec/missing.wav", 0);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text,
              "エラーが発生しました。\r\nErrCode = 53\r\n/rec/missing.wav\r\nファイルが存在しません。");
}

}  // namespace
}  // namespace lirabox::test
