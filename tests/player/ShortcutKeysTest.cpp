#include "PlayerFixture.h"
#include "support/RaisedError.h"

#include <fstream>

namespace lirabox::test {
namespace {

class ShortcutKeysTest : public PlayerTest {
protected:
    std::string handle() const { return std::to_string(view.handle); }
    void switchTo(int value) {
        view.setChkUseKey(value);
        form().chkUseKey_Click();
    }
};

TEST_F(ShortcutKeysTest, FirstStartWritesEightUnassignedRowsInKeyOrder) {
    ASSERT_TRUE(load());
    std::string expected;
    for (int row = 0; row < 8; ++row) {
        expected += "[ID0" + std::to_string(row) + "]\nID=-1\nKeyCode=0\nKeyDestroy=0\nShiftStatus=0\n";
    }
    std::string text = fileText(programFile("config.ini"));
    std::erase(text, '\r');
    std::string compact;  // blank lines between sections are the writer's business
    for (std::size_t start = 0; start < text.size();) {
        const auto end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        if (!line.empty()) compact += line + "\n";
        start = end == std::string::npos ? text.size() : end + 1;
    }
    EXPECT_EQ(compact, expected);
    EXPECT_EQ(hookCalls,
              (std::vector<std::string> {"InitHook(" + handle() + ")", "SubclassMainWindow(" + handle() + ")"}));
}

TEST_F(ShortcutKeysTest, AssignedRowsAreRegisteredInOrder) {
    store("config.ini", "ID04", "ID", "4");
    store("config.ini", "ID04", "KeyCode", "117");
    store("config.ini", "ID04", "ShiftStatus", "0");
    store("config.ini", "ID04", "KeyDestroy", "1");
    store("config.ini", "ID00", "ID", "0");
    store("config.ini", "ID00", "KeyCode", "32");
    store("config.ini", "ID00", "ShiftStatus", "3");
    ASSERT_TRUE(load());
    EXPECT_EQ(hookCalls,
              (std::vector<std::string> {"InitHook(" + handle() + ")",
                                         "RegistKey(0,32,3,0)",
                                         "RegistKey(4,117,0,1)",
                                         "SubclassMainWindow(" + handle() + ")"}));
}

TEST_F(ShortcutKeysTest, RowsIdDecidesTheSlot) {
    store("config.ini", "ID02", "ID", "6");
    store("config.ini", "ID02", "KeyCode", "120");
    ASSERT_TRUE(load());
    EXPECT_EQ(hookCalls.at(1), "RegistKey(6,120,0,0)");
}

TEST_F(ShortcutKeysTest, OutOfRangeIdsAreHandedOnAsTheyAre) {
    store("config.ini", "ID01", "ID", "12");
    store("config.ini", "ID03", "ID", "-7");
    ASSERT_TRUE(load());
    EXPECT_EQ(hookCalls.at(1), "RegistKey(12,0,0,0)");
    EXPECT_EQ(hookCalls.at(2), "RegistKey(-7,0,0,0)");
}

TEST_F(ShortcutKeysTest, RowThatIsNotANumberStaysUnassignedAndTheRestGoesOn) {
    store("config.ini", "ID01", "ID", "1");
    store("config.ini", "ID01", "KeyCode", "F5");
    store("config.ini", "ID05", "ID", "5");
    store("config.ini", "ID05", "KeyCode", "116");
    ASSERT_TRUE(load());
    EXPECT_EQ(hookCalls,
              (std::vector<std::string> {
                  "InitHook(" + handle() + ")", "RegistKey(5,116,0,0)", "SubclassMainWindow(" + handle() + ")"}));
}

// The ninth and tenth rows came later: a file without them reads them as
// unassigned and keeps its layout; once stored they are registered like the others.
TEST_F(ShortcutKeysTest, TheTimeStampRowIsReadWithoutBeingCreated) {
    ASSERT_TRUE(load());
    EXPECT_EQ(form().LoadShortcutKey(8).ID, -1);
    EXPECT_EQ(stored("config.ini", "ID08", "ID"), "<missing>");
    EXPECT_EQ(form().LoadShortcutKey(9).ID, -1);
    EXPECT_EQ(stored("config.ini", "ID09", "ID"), "<missing>");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "TimeStampFormat"), "<missing>");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Resume"), "<missing>");
    EXPECT_EQ(stored("history.ini", "Recordings", "1"), "<missing>");
    // Without a recording there is no position to type.
    FakeTextTyper typer;
    form().setTextTyper(&typer);
    form().KeyMessage(8);
    EXPECT_TRUE(typer.typed.empty());

    restart();
    store("config.ini", "ID08", "ID", "8");
    store("config.ini", "ID08", "KeyCode", "120");
    store("config.ini", "ID08", "ShiftStatus", "2");
    store("config.ini", "ID09", "ID", "9");
    store("config.ini", "ID09", "KeyCode", "121");
    hookCalls.clear();
    ASSERT_TRUE(load());
    EXPECT_EQ(hookCalls.at(1), "RegistKey(8,120,2,0)");
    EXPECT_EQ(hookCalls.at(2), "RegistKey(9,121,0,0)");
}

TEST_F(ShortcutKeysTest, ClearingTheBoxRestoresTheWindowThenRemovesTheHook) {
    ASSERT_TRUE(load());
    hookCalls.clear();
    switchTo(0);
    EXPECT_EQ(hookCalls, (std::vector<std::string> {"RestoreMainWindowProc(" + handle() + ")", "TerminateHook()"}));
}

TEST_F(ShortcutKeysTest, GreyStateDoesNothing) {
    ASSERT_TRUE(load());
    hookCalls.clear();
    switchTo(2);
    EXPECT_TRUE(hookCalls.empty());
}

TEST_F(ShortcutKeysTest, SwitchingOnAgainReloadsTheRows) {
    ASSERT_TRUE(load());
    switchTo(0);
    store("config.ini", "ID07", "ID", "7");
    store("config.ini", "ID07", "KeyCode", "119");
    hookCalls.clear();
    switchTo(1);
    EXPECT_EQ(hookCalls,
              (std::vector<std::string> {
                  "InitHook(" + handle() + ")", "RegistKey(7,119,0,0)", "SubclassMainWindow(" + handle() + ")"}));
}

TEST_F(ShortcutKeysTest, LoadShortcutKeyReadsOneRow) {
    store("config.ini", "ID03", "ID", "3");
    store("config.ini", "ID03", "KeyCode", "65");
    store("config.ini", "ID03", "ShiftStatus", "6");
    store("config.ini", "ID03", "KeyDestroy", "1");
    ASSERT_TRUE(load());
    const ShortcutKeyRecord record = form().LoadShortcutKey(3);
    EXPECT_EQ(record.ID, 3);
    EXPECT_EQ(record.KeyCode, 65);
    EXPECT_EQ(record.ShiftStatus, 6);
    EXPECT_EQ(record.KeyDestroy, 1);
}

TEST_F(ShortcutKeysTest, DeletedKeyComesBackWithItsDefault) {
    ASSERT_TRUE(load());
    store("config.ini", "ID03", "KeyDestroy", "1");
    // Remove the key by rewriting the file without it.
    std::string text = fileText(programFile("config.ini"));
    const auto at = text.find("KeyDestroy=1");
    ASSERT_NE(at, std::string::npos);
    text.erase(at, text.find('\n', at) + 1 - at);
    std::ofstream(programFile("config.ini"), std::ios::binary) << text;
    ASSERT_EQ(stored("config.ini", "ID03", "KeyDestroy"), "<missing>");
    EXPECT_EQ(form().LoadShortcutKey(3).KeyDestroy, 0);
    EXPECT_EQ(stored("config.ini", "ID03", "KeyDestroy"), "0");
}

TEST_F(ShortcutKeysTest, LoadShortcutKeyRaisesForBadValuesAndRows) {
    store("config.ini", "ID06", "ShiftStatus", "shift");
    ASSERT_TRUE(load());
    EXPECT_THROW(form().LoadShortcutKey(6), RaisedError);
    EXPECT_THROW(form().LoadShortcutKey(10), RaisedError);
    EXPECT_THROW(form().LoadShortcutKey(-1), RaisedError);
}

// --- command table -----------------------------------------------------------------

class CommandTableTest : public PlayerTest {
protected:
    void SetUp() override {
        loadWithFile(600);
        engine.setPlayState(media::kPaused);
        engine.setPosition(100.4);
        engine.clearCalls();
    }
};

TEST_F(CommandTableTest, SlotZeroTogglesPlayback) {
    form().KeyMessage(0);
    EXPECT_EQ(engine.state(), media::kPlaying);
    form().KeyMessage(0);
    EXPECT_EQ(engine.state(), media::kPaused);
}

TEST_F(CommandTableTest, SlotOneStops) {
    form().KeyMessage(1);
    EXPECT_EQ(engine.state(), media::kStopped);
    EXPECT_EQ(engine.position(), 0);
}

TEST_F(CommandTableTest, SlotsTwoAndThreeChangeTheSpeed) {
    form().KeyMessage(2);
    EXPECT_EQ(view.speedText, "1.1");
    form().KeyMessage(3);
    form().KeyMessage(3);
    EXPECT_EQ(view.speedText, "0.9");
}

TEST_F(CommandTableTest, SlotsFourAndFiveMoveForwardAndBack) {
    form().KeyMessage(4);
    EXPECT_DOUBLE_EQ(engine.position(), 102.4);
    form().KeyMessage(5);
    EXPECT_DOUBLE_EQ(engine.position(), 100.4);
}

TEST_F(CommandTableTest, SlotsSixAndSevenSetTheMarks) {
    form().KeyMessage(6);
    EXPECT_EQ(form().repeatStart(), 100);
    engine.setPosition(200);
    form().KeyMessage(7);
    EXPECT_EQ(form().repeatEnd(), 200);
}

TEST_F(CommandTableTest, SlotEightTypesThePositionInTheStoredForm) {
    FakeTextTyper typer;
    form().KeyMessage(8);  // no typer: nothing happens
    form().setTextTyper(&typer);
    form().KeyMessage(8);
    form().set_timestamp_format(TimeStampFormat::BracketedTenths);
    form().runCommand(Command::InsertTimeStamp);
    EXPECT_EQ(typer.typed, (std::vector<std::string> {"[00:01:40] ", "[00:01:40.4] "}));
    EXPECT_EQ(stored("UserCfg.ini", "Config", "TimeStampFormat"), "[hh:mm:ss.d]");

    // Read back at the next start; a form it does not know is the default.
    restart();
    ASSERT_TRUE(load());
    EXPECT_EQ(form().timestamp_format(), TimeStampFormat::BracketedTenths);
    store("UserCfg.ini", "Config", "TimeStampFormat", "[mm:ss]");
    restart();
    ASSERT_TRUE(load());
    EXPECT_EQ(form().timestamp_format(), TimeStampFormat::Bracketed);
}

TEST_F(CommandTableTest, OtherSlotsDoNothing) {
    for (const int slot : {10, 15, -1, 1000}) form().KeyMessage(slot);
    EXPECT_TRUE(engine.calls().empty());
    EXPECT_EQ(view.speedText, "1");
}

}  // namespace
}  // namespace lirabox::test
