// The settings dialog's behaviour over a real main window: loading, the step
// boxes and Apply, key capture and the focus it moves, the duplicate check,
// saving the rows, the global keys resting while a key box has the focus,
// unloading, and the menu commands that open it.

#include "SettingsFixture.h"
#include "support/RaisedError.h"
#include "tests/hotkeys/ShortcutRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace lirabox::test {
namespace {

using settings::CapturedKey;
using settings::frmSettings;
using settings::kOkButton;
using settings::LeftBy;
using settings::StepBox;

constexpr CapturedKey kF2 {113, 0};

class SettingsFormTest : public SettingsTest {
protected:
    // A loaded main window (keys switched on) and a loaded dialog.
    frmSettings& loadDialog() {
        if (!mDialog) {
            EXPECT_TRUE(load());
            mDialog = std::make_unique<frmSettings>(parts());
            mDialog->Form_Load(kDialogWindow);
            hookCalls.clear();
        }
        return *mDialog;
    }

private:
    std::unique_ptr<frmSettings> mDialog;
};

TEST_F(SettingsFormTest, LoadShowsTheStepLengthsTheRowsAndTheShortcutKeyTab) {
    store("UserCfg.ini", "Config", "Rewind", "7");
    store("config.ini", "ID00", "ID", "0");
    store("config.ini", "ID00", "KeyCode", "116");
    store("config.ini", "ID00", "ShiftStatus", "2");
    store("config.ini", "ID00", "KeyDestroy", "-1");
    store("config.ini", "ID03", "KeyCode", "oops");
    frmSettings& dialog = loadDialog();

    EXPECT_EQ(dialog.stepText(StepBox::RevTime), "7");
    EXPECT_EQ(dialog.stepText(StepBox::FowTime), "2");
    EXPECT_EQ(dialog.stepText(StepBox::AutRev), "1");
    EXPECT_EQ(dialog.tab(), SettingsTab::ShortcutKeys);
    EXPECT_STREQ(dialog.caption().source, "ショートカットキー設定");
    EXPECT_EQ(dialog.keyText(0), "Ctrl + F5");
    EXPECT_EQ(dialog.discardValue(0), 1);  // -1 shows checked
    EXPECT_EQ(dialog.keyText(3), "");      // not a number: unassigned
    EXPECT_EQ(dialog.discardValue(1), 0);
    // Rows 1..8 are unassigned (key 0, code 0): empty rows are no duplicates.
    EXPECT_FALSE(dialog.duplicateShown());
    EXPECT_STREQ(dialog.messageText().source, "＊テキストボックスを選んで，任意のキーを入力してください。");

    dialog.SSTab1_Click(SettingsTab::Playback);
    EXPECT_STREQ(dialog.caption().source, "再生設定");
}

TEST_F(SettingsFormTest, StepBoxesKeepDigitsOnlyAndApplyPutsInTheDefaults) {
    frmSettings& dialog = loadDialog();
    dialog.setStepText(StepBox::RevTime, "1a5");
    EXPECT_EQ(dialog.stepText(StepBox::RevTime), "15");
    dialog.setStepText(StepBox::FowTime, "-3.5");
    EXPECT_EQ(dialog.stepText(StepBox::FowTime), "35");
    dialog.setStepText(StepBox::FowTime, "1234567");
    EXPECT_EQ(dialog.stepText(StepBox::FowTime), "12345");

    // Typed but not applied: the player keeps its value.
    dialog.setStepText(StepBox::RevTime, "9");
    EXPECT_EQ(form().rewind_time(), 2);
    EXPECT_EQ(dialog.stepText(StepBox::RevTime), "9");

    dialog.setStepText(StepBox::RevTime, "");
    dialog.setStepText(StepBox::AutRev, "0");
    dialog.setStepText(StepBox::FowTime, "007");
    EXPECT_EQ(dialog.cmdSave_Click(), std::nullopt);
    EXPECT_EQ(dialog.stepText(StepBox::RevTime), "2");
    EXPECT_EQ(dialog.stepText(StepBox::AutRev), "0");
    EXPECT_EQ(dialog.stepText(StepBox::FowTime), "7");
    EXPECT_EQ(form().rewind_time(), 2);
    EXPECT_EQ(form().autorev_time(), 0);
    EXPECT_EQ(form().forward_time(), 7);
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Autorev"), "0");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Forward"), "7");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Rewind"), "2");

    // Above 16 bits: kept at the largest step.
    dialog.setStepText(StepBox::FowTime, "99999");
    dialog.setStepText(StepBox::RevTime, "32767");
    EXPECT_EQ(dialog.cmdSave_Click(), std::nullopt);
    EXPECT_EQ(dialog.stepText(StepBox::FowTime), "32767");
    EXPECT_EQ(form().forward_time(), 32767);
    EXPECT_EQ(form().rewind_time(), 32767);
}

TEST_F(SettingsFormTest, KeysAreCapturedAndTheFocusMovesDownTheRowsToOK) {
    frmSettings& dialog = loadDialog();
    // A modifier alone is recorded and keeps the focus; the key pressed with it moves on.
    EXPECT_EQ(dialog.txtShortcutKey_KeyDown(0, {17, 2}), std::nullopt);
    EXPECT_EQ(dialog.keyText(0), "Ctrl");
    EXPECT_EQ(dialog.shortcutKey(0).KeyCode, 17);
    EXPECT_EQ(dialog.txtShortcutKey_KeyDown(0, {116, 2}), 1);
    EXPECT_EQ(dialog.keyText(0), "Ctrl + F5");
    EXPECT_EQ(dialog.shortcutKey(0).KeyCode, 116);
    EXPECT_EQ(dialog.shortcutKey(0).ShiftStatus, 2);

    EXPECT_EQ(dialog.txtShortcutKey_KeyDown(8, {65, 5}), 9);
    EXPECT_EQ(dialog.keyText(8), "Shift+Alt + A");
    EXPECT_EQ(dialog.txtShortcutKey_KeyDown(9, {66, 5}), kOkButton);

    // Tab and Shift+Tab are caught as the focus leaves; any other way of leaving changes nothing.
    EXPECT_EQ(dialog.txtShortcutKey_LostFocus(3, LeftBy::Tab), 4);
    EXPECT_EQ(dialog.keyText(3), "Tab");
    EXPECT_EQ(dialog.shortcutKey(3).KeyCode, 9);
    EXPECT_EQ(dialog.shortcutKey(3).ShiftStatus, 0);
    EXPECT_EQ(dialog.txtShortcutKey_LostFocus(9, LeftBy::Tab), kOkButton);
    EXPECT_EQ(dialog.txtShortcutKey_LostFocus(3, LeftBy::ShiftTab), std::nullopt);
    EXPECT_EQ(dialog.keyText(3), "Shift + Tab");
    EXPECT_EQ(dialog.shortcutKey(3).ShiftStatus, 1);
    EXPECT_EQ(dialog.txtShortcutKey_LostFocus(0, LeftBy::Other), std::nullopt);
    EXPECT_EQ(dialog.keyText(0), "Ctrl + F5");
    EXPECT_EQ(dialog.shortcutKey(0).KeyCode, 116);
}

TEST_F(SettingsFormTest, DuplicatesAreEqualKeyAndModifierCodes) {
    frmSettings& dialog = loadDialog();
    for (int row = 0; row < 8; ++row) dialog.txtShortcutKey_KeyDown(row, {112 + row, 0});
    dialog.tmrInputChecker_Timer();
    EXPECT_FALSE(dialog.duplicateShown());
    EXPECT_STREQ(dialog.messageText().source, "＊テキストボックスを選んで，任意のキーを入力してください。");

    dialog.txtShortcutKey_KeyDown(1, kF2);
    dialog.txtShortcutKey_KeyDown(4, kF2);
    dialog.chkDestructionKeyCode_Click(4, true);  // the discard flag is not compared
    dialog.tmrInputChecker_Timer();
    EXPECT_TRUE(dialog.duplicateShown());

    dialog.txtShortcutKey_KeyDown(4, {113, 1});
    dialog.tmrInputChecker_Timer();
    EXPECT_FALSE(dialog.duplicateShown());

    // A row emptied again is no duplicate of the other empty ones, a modifier alone is.
    for (int row : {5, 6, 7}) dialog.txtShortcutKey_KeyDown(row, {0, 0});
    dialog.tmrInputChecker_Timer();
    EXPECT_FALSE(dialog.duplicateShown());
    dialog.txtShortcutKey_KeyDown(5, {17, 2});
    dialog.txtShortcutKey_KeyDown(6, {17, 2});
    dialog.tmrInputChecker_Timer();
    EXPECT_TRUE(dialog.duplicateShown());
    dialog.txtShortcutKey_KeyDown(6, {0, 0});

    // Keypad 5 and main-row 5 show the same name but are different keys.
    dialog.txtShortcutKey_KeyDown(2, {101, 0});
    dialog.txtShortcutKey_KeyDown(3, {53, 0});
    dialog.tmrInputChecker_Timer();
    EXPECT_EQ(dialog.keyText(2), dialog.keyText(3));
    EXPECT_FALSE(dialog.duplicateShown());
}

TEST_F(SettingsFormTest, SuggestedKeysFillOnlyTheEmptyRowsAndWaitForApply) {
    store("config.ini", "ID00", "KeyCode", "116");
    store("config.ini", "ID00", "ShiftStatus", "2");
    frmSettings& dialog = loadDialog();
    dialog.txtShortcutKey_KeyDown(3, {118, 0});  // F7, the rewind row's suggestion, set by hand
    const std::string before = fileText(programFile("config.ini"));

    dialog.cmdSuggestedKeys_Click();
    EXPECT_EQ(dialog.keyText(0), "Ctrl + F5");
    EXPECT_EQ(dialog.keyText(3), "F7");
    EXPECT_EQ(dialog.discardValue(3), 0);
    EXPECT_EQ(dialog.keyText(5), "");  // its F7 is taken
    const std::vector<std::pair<int, std::string>> suggested {
        {1, "F4"}, {2, "F6"}, {4, "F8"}, {6, "F11"}, {7, "F12"}, {8, "F2"}};
    for (const auto& [row, name] : suggested) {
        EXPECT_EQ(dialog.keyText(row), name) << "row " << row;
        EXPECT_EQ(dialog.shortcutKey(row).ShiftStatus, 0);
        EXPECT_EQ(dialog.discardValue(row), 1);
    }
    dialog.tmrInputChecker_Timer();
    EXPECT_FALSE(dialog.duplicateShown());
    EXPECT_EQ(fileText(programFile("config.ini")), before);
    EXPECT_EQ(hookCalls, std::vector<std::string> {});

    EXPECT_EQ(dialog.cmdSave_Click(), std::nullopt);
    EXPECT_EQ(stored("config.ini", "ID01", "KeyCode"), "115");
    EXPECT_EQ(stored("config.ini", "ID01", "KeyDestroy"), "1");
    EXPECT_EQ(stored("config.ini", "ID00", "KeyCode"), "116");
}

TEST_F(SettingsFormTest, ApplyWritesEveryRowInOrderAndRegistersItAsTheFileHoldsIt) {
    store("config.ini", "ID05", "ID", "3");
    store("config.ini", "ID05", "KeyDestroy", "-1");
    store("config.ini", "ID05", "KeyCode", "66");
    frmSettings& dialog = loadDialog();
    dialog.txtShortcutKey_KeyDown(0, {120, 0});
    dialog.chkDestructionKeyCode_Click(0, true);
    dialog.txtShortcutKey_KeyDown(2, {116, 2});
    ASSERT_EQ(dialog.cmdSave_Click(), std::nullopt);

    // The section stored first stays first, and its keys keep their places.
    std::string expected = "[ID05]\nID=5\nKeyDestroy=-1\nKeyCode=66\nShiftStatus=0\n";
    for (int row = 0; row < 8; ++row) {
        if (row == 0) {
            expected += shortcutRow(0, 0, 120, 1);
        } else if (row == 2) {
            expected += shortcutRow(2, 2, 116, 0, 2);
        } else if (row != 5) {
            expected += shortcutRow(row, row, 0, 0);
        }
    }
    EXPECT_EQ(fileText(programFile("config.ini")), expected);
    std::vector<std::string> registered;
    for (int row = 0; row < 8; ++row) {
        const std::string key = row == 0 ? "120,0,1" : row == 2 ? "116,2,0" : row == 5 ? "66,0,-1" : "0,0,0";
        registered.push_back("RegistKey(" + std::to_string(row) + "," + key + ")");
    }
    EXPECT_EQ(hookCalls, registered);
}

// The time stamp and jump rows are written once they hold a key; the time
// stamp's form and the resume box are stored when they were changed, and the
// main window follows them from then on.
TEST_F(SettingsFormTest, TheTimeStampRowsFormAndResumeAreSavedOnceTheyAreSet) {
    frmSettings& dialog = loadDialog();
    EXPECT_EQ(dialog.timeStampFormat(), TimeStampFormat::Bracketed);
    EXPECT_FALSE(dialog.resumeChecked());
    EXPECT_EQ(dialog.txtShortcutKey_KeyDown(8, {120, 2}), 9);
    dialog.chkDestructionKeyCode_Click(8, true);
    dialog.cboTimeStampFormat_Click(TimeStampFormat::Hashed);
    ASSERT_EQ(dialog.cmdSave_Click(), std::nullopt);

    EXPECT_NE(fileText(programFile("config.ini")).find(shortcutRow(8, 8, 120, 1, 2)), std::string::npos);
    EXPECT_EQ(fileText(programFile("config.ini")).find("[ID09]"), std::string::npos);
    EXPECT_EQ(hookCalls.back(), "RegistKey(8,120,2,1)");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "TimeStampFormat"), "#hh:mm:ss#");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Resume"), "<missing>");
    EXPECT_EQ(form().timestamp_format(), TimeStampFormat::Hashed);

    EXPECT_EQ(dialog.txtShortcutKey_KeyDown(9, {121, 2}), kOkButton);
    dialog.chkResume_Click(true);
    ASSERT_EQ(dialog.cmdSave_Click(), std::nullopt);
    EXPECT_NE(fileText(programFile("config.ini")).find(shortcutRow(9, 9, 121, 0, 2)), std::string::npos);
    EXPECT_EQ(hookCalls.back(), "RegistKey(9,121,2,0)");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Resume"), "1");
    EXPECT_TRUE(form().resume_position());
}

TEST_F(SettingsFormTest, AFileThatCannotBeWrittenIsReportedAndTheOtherStepsStillRun) {
    frmSettings& dialog = loadDialog();
    const auto config = programFile("config.ini");
    ASSERT_EQ(std::system(("chattr +i '" + config.string() + "'").c_str()), 0);
    dialog.txtShortcutKey_KeyDown(0, {120, 0});
    dialog.setStepText(StepBox::FowTime, "9");
    const std::optional<std::int32_t> failure = dialog.cmdSave_Click();
    std::system(("chattr -i '" + config.string() + "'").c_str());

    EXPECT_EQ(failure, kObjectErrorBase + 2003);
    EXPECT_EQ(form().forward_time(), 9);
    EXPECT_EQ(stored("config.ini", "ID00", "KeyCode"), "0");
    // What is registered is what the file holds.
    EXPECT_EQ(hookCalls.front(), "RegistKey(-1,0,0,0)");
}

TEST_F(SettingsFormTest, PedalActionsRoundTripAndUnknownValuesReadAsTheDefault) {
    const auto choices = pedalChoices();
    const auto choiceOf = [&](const PedalAction& action) {
        return static_cast<std::size_t>(std::find(choices.begin(), choices.end(), action) - choices.begin());
    };
    const PedalAction stop {PedalUse::RunCommand, Command::Stop};
    store("UserCfg.ini", "FootPedal", "Left", "Sideways");
    frmSettings& dialog = loadDialog();
    EXPECT_EQ(choices[dialog.pedalChoice(Pedal::Left)], (PedalAction {PedalUse::RunCommand, Command::Rewind}));
    EXPECT_EQ(choices[dialog.pedalChoice(Pedal::Middle)], PedalAction {PedalUse::PlayWhileHeld});
    EXPECT_EQ(stored("UserCfg.ini", "FootPedal", "Right"), "<missing>");
    EXPECT_EQ(stored("UserCfg.ini", "FootPedal", "Left"), "Sideways");
    dialog.SSTab1_Click(SettingsTab::FootPedals);
    EXPECT_STREQ(dialog.caption().source, "フットペダル設定");

    dialog.setPedalChoice(Pedal::Left, choiceOf(stop));
    dialog.setPedalChoice(Pedal::Right, choiceOf(PedalAction {}));
    dialog.setPedalChoice(Pedal::Middle, choices.size());  // no such choice: unchanged
    EXPECT_EQ(form().pedal_mapping(), defaultPedalMapping());
    ASSERT_FALSE(dialog.cmdSave_Click());
    EXPECT_EQ(stored("UserCfg.ini", "FootPedal", "Left"), "Stop");
    EXPECT_EQ(stored("UserCfg.ini", "FootPedal", "Middle"), "PlayWhileHeld");
    EXPECT_EQ(stored("UserCfg.ini", "FootPedal", "Right"), "Nothing");

    restart();
    ASSERT_TRUE(load());
    EXPECT_EQ(form().pedal_mapping(), (PedalMapping {stop, PedalAction {PedalUse::PlayWhileHeld}, PedalAction {}}));
}

TEST_F(SettingsFormTest, TheGlobalKeysRestWhileAKeyBoxHasTheFocus) {
    store("config.ini", "ID00", "ID", "0");
    store("config.ini", "ID00", "KeyCode", "120");
    frmSettings& dialog = loadDialog();
    const std::string window = std::to_string(view.handle);

    dialog.keyBoxFocusChanged(true);
    dialog.keyBoxFocusChanged(true);
    EXPECT_EQ(hookCalls, std::vector<std::string> {"TerminateHook()"});
    hookCalls.clear();
    dialog.keyBoxFocusChanged(false);
    EXPECT_EQ(hookCalls,
              (std::vector<std::string> {
                  "InitHook(" + window + ")", "RegistKey(0,120,0,0)", "SubclassMainWindow(" + window + ")"}));

    // With the keys switched off nothing is switched.
    view.setChkUseKey(0);
    form().chkUseKey_Click();
    hookCalls.clear();
    dialog.keyBoxFocusChanged(true);
    dialog.keyBoxFocusChanged(false);
    EXPECT_EQ(hookCalls, std::vector<std::string> {});
}

TEST_F(SettingsFormTest, TopMostIsTheDialogsOwnAndUnloadTurnsItOffWithTheKeys) {
    frmSettings& dialog = loadDialog();
    dialog.chkTopMost_Click(true);
    EXPECT_TRUE(dialog.topMost());
    dialog.keyBoxFocusChanged(true);
    hookCalls.clear();
    dialog.Form_Unload();
    EXPECT_FALSE(dialog.isLoaded());
    using Call = std::pair<std::uintptr_t, bool>;
    EXPECT_EQ(desktop->aboveCalls, (std::vector<Call> {{kDialogWindow, true}, {kDialogWindow, false}}));
    const std::string window = std::to_string(view.handle);
    EXPECT_EQ(hookCalls, (std::vector<std::string> {"TerminateHook()", "RestoreMainWindowProc(" + window + ")"}));
    // The focus leaving a key box of an unloaded dialog does not switch the keys back on.
    dialog.keyBoxFocusChanged(false);
    EXPECT_EQ(hookCalls.size(), 2u);

    // Loading again starts afresh: box cleared, shortcut-key tab.
    dialog.SSTab1_Click(SettingsTab::Playback);
    dialog.Form_Load(kDialogWindow);
    EXPECT_FALSE(dialog.topMost());
    EXPECT_EQ(dialog.tab(), SettingsTab::ShortcutKeys);
}

TEST_F(SettingsFormTest, TheSettingsCommandsOpenTheDialogOnTheirTab) {
    ASSERT_TRUE(load());
    form().runCommand(Command::PlaybackSettings);
    form().runCommand(Command::ShortcutKeySettings);
    EXPECT_EQ(settingsDialog.opened, (std::vector<SettingsTab> {SettingsTab::Playback, SettingsTab::ShortcutKeys}));
}

}  // namespace
}  // namespace lirabox::test
