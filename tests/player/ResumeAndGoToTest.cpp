// Where a recording starts when opened again, the recent recordings, the
// go-to-time dialog and the jump to a selected time stamp.

#include "PlayerFixture.h"
#include "player/RemoteCommand.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <variant>

namespace lirabox::test {
namespace {

using ResumeTest = PlayerTest;
using GoToTimeTest = PlayerTest;

TEST_F(ResumeTest, StartsWhereTheRecordingWasLeftOnlyWhenTurnedOnAndWithoutAStartSecond) {
    const auto quitAt = [&](double seconds) {
        engine.setPosition(seconds);
        form().Form_Unload();
        restart();
    };
    ASSERT_TRUE(load("/rec/a.wav"));
    quitAt(15.3);
    EXPECT_EQ(stored("history.ini", "Recordings", "1"), "15.3|/rec/a.wav");

    // Off (the default): from 0, as always.
    ASSERT_TRUE(load("/rec/a.wav"));
    EXPECT_EQ(engine.position(), 0);
    EXPECT_FALSE(form().resume_position());
    form().set_resume_position(true);
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Resume"), "1");
    quitAt(15);

    ASSERT_TRUE(load("/rec/a.wav"));
    EXPECT_EQ(engine.position(), 15);
    EXPECT_EQ(engine.state(), media::kPlaying);
    quitAt(15);
    ASSERT_TRUE(load("/rec/a.wav/t=5"));
    EXPECT_EQ(engine.position(), 5);
    quitAt(5);
    ASSERT_TRUE(load("/rec/a.wav/t=0"));
    EXPECT_EQ(engine.position(), 0);
    quitAt(59.5);

    // Left at its end: from 0 again.
    ASSERT_TRUE(load("/rec/a.wav"));
    EXPECT_EQ(engine.position(), 0);
}

TEST_F(ResumeTest, RemembersOnOpeningAnotherAndEveryMinuteWhilePlaying) {
    store("UserCfg.ini", "Config", "Resume", "1");
    loadWithFile(600, "/rec/a.wav");
    engine.setPosition(42);
    form().fileOpen("/rec/b.wav");
    EXPECT_EQ(stored("history.ini", "Recordings", "1"), "0.0|/rec/b.wav");
    EXPECT_EQ(stored("history.ini", "Recordings", "2"), "42.0|/rec/a.wav");

    form().fileOpen("/rec/a.wav");
    EXPECT_EQ(engine.position(), 42);
    form().PlayFunc();
    engine.setPosition(100);
    for (int tick = 0; tick < 599; ++tick) form().Timer2_Timer();
    EXPECT_EQ(stored("history.ini", "Recordings", "1"), "42.0|/rec/a.wav");
    form().Timer2_Timer();
    EXPECT_EQ(stored("history.ini", "Recordings", "1"), "100.0|/rec/a.wav");
}

TEST_F(ResumeTest, ListsTheLastEightRecordingsAndDropsAMissingOneWhenPicked) {
    ASSERT_TRUE(load());
    std::vector<std::string> paths;
    for (int i = 0; i < 10; ++i) {
        paths.push_back(folder.fileText("r" + std::to_string(i) + ".wav"));
        if (i != 8) std::ofstream(paths.back()) << "x";
        form().fileOpen(paths.back());
    }
    auto recent = form().recentRecordings();
    ASSERT_EQ(recent.size(), frmMain::kRecentShown);
    EXPECT_EQ(recent[0].path, paths[9]);
    EXPECT_TRUE(recent[0].exists);
    EXPECT_EQ(recent[1].path, paths[8]);
    EXPECT_FALSE(recent[1].exists);
    EXPECT_EQ(recent[7].path, paths[2]);

    // Survives a restart; a pick opens it.
    form().Form_Unload();
    restart();
    ASSERT_TRUE(load());
    EXPECT_EQ(form().recentRecordings()[1].path, paths[8]);
    form().openRecent(paths[3]);
    EXPECT_EQ(engine.url(), paths[3]);
    EXPECT_EQ(form().recentRecordings()[0].path, paths[3]);

    engine.failLoad(paths[8], 53);
    form().openRecent(paths[8]);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text,
              "エラーが発生しました。\r\nErrCode = 53\r\n" + paths[8] + "\r\nファイルが存在しません。");
    recent = form().recentRecordings();
    EXPECT_TRUE(std::none_of(recent.begin(), recent.end(), [&](const auto& r) { return r.path == paths[8]; }));
    EXPECT_EQ(recent[7].path, paths[1]);
}

TEST_F(GoToTimeTest, MovesToTheTimeEnteredClampedPlayingOrNot) {
    loadWithFile(7200);
    view.goToTimeAnswers = {"1:02:03"};
    form().runCommand(Command::GoToTime);
    EXPECT_EQ(engine.position(), 3723);
    EXPECT_EQ(view.goToTimeShown, std::vector<std::string> {"00:00:00"});
    EXPECT_EQ(view.timeText, "01:02:03 / 02:00:00");

    form().PlayFunc();
    view.goToTimeAnswers = {"3:00:00.5"};
    form().runCommand(Command::GoToTime);
    EXPECT_EQ(engine.position(), 7200);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(GoToTimeTest, RefusesWhatIsNoTimeWithAMessageAndAsksAgain) {
    loadWithFile(7200);
    engine.setPosition(10);
    view.goToTimeAnswers = {"abc"};
    form().runCommand(Command::GoToTime);
    EXPECT_EQ(engine.position(), 10);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "時間は hh:mm:ss、mm:ss、ss または hh:mm:ss.f の形で入力してください。");
    // Asked again with what was typed; cancelled.
    EXPECT_EQ(view.goToTimeShown, (std::vector<std::string> {"00:00:10", "abc"}));

    view.goToTimeAnswers = {"1:2:3", "02:03"};
    form().runCommand(Command::GoToTime);
    EXPECT_EQ(engine.position(), 123);
}

class FixedSelection : public SelectionReader {
public:
    void read(std::function<void(const std::string&)> done) override { done(text); }
    std::string text;
};

TEST_F(GoToTimeTest, JumpsToTheSelectedTimeStampAndIgnoresASelectionWithoutOne) {
    loadWithFile(7200);
    FixedSelection selection;
    form().setSelectionReader(&selection);
    selection.text = "and then [00:00:42] she";
    form().KeyMessage(9);
    EXPECT_EQ(engine.position(), 42);
    // What `lirabox --command goto-selection` runs.
    selection.text = "#01:00:00.5#";
    const auto remote = parseRemoteCommand({"goto-selection"}, {});
    ASSERT_TRUE(std::holds_alternative<RemoteCommand>(remote));
    EXPECT_EQ(runRemoteCommand(form(), std::get<RemoteCommand>(remote)), "");
    EXPECT_EQ(engine.position(), 3600.5);
    selection.text = "no time here";
    form().runCommand(Command::GoToSelection);
    EXPECT_EQ(engine.position(), 3600.5);
    EXPECT_TRUE(view.messages.empty());
}

}  // namespace
}  // namespace lirabox::test
