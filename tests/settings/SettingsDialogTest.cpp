// The Qt dialog over the real behaviour and main window, on the offscreen
// platform: opening on a tab, Cancel and re-opening, keys pressed in the key
// boxes (Enter and Esc captured, Tab and Shift+Tab caught as the focus
// leaves), the foot pedal tab's choices, the message line's colour, closing
// by the title bar and unloading.

#include "SettingsFixture.h"
#include "app/qt/settings/SettingsDialog.h"
#include "app/qt/settings/SettingsWindow.h"
#include "tests/app/qt/QtTestSupport.h"

#include <algorithm>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace lirabox::test {
namespace {

using settings::qt::SettingsWindow;

class SettingsDialogTest : public SettingsTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(load());
        window = std::make_unique<SettingsWindow>(parts());
        form().setSettingsDialog(window.get());
        hookCalls.clear();
    }
    void TearDown() override {
        form().setSettingsDialog(nullptr);
        window.reset();
    }

    template <class Widget>
    Widget* child(const char* name) const {
        return window->dialog()->findChild<Widget*>(QString::fromLatin1(name));
    }
    QLineEdit* keyBox(int row) const { return child<QLineEdit>(("txtShortcutKey" + std::to_string(row)).c_str()); }
    std::string title() const { return window->dialog()->windowTitle().toStdString(); }

    // Opens the dialog on the shortcut-key tab and gives a key box the focus.
    void focusKeyBox(int row) {
        window->open(SettingsTab::ShortcutKeys);
        QApplication::setActiveWindow(window->dialog());
        keyBox(row)->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(processEventsUntil([&] { return QApplication::focusWidget() == keyBox(row); }));
    }

    std::unique_ptr<SettingsWindow> window;
};

TEST_F(SettingsDialogTest, OpensOnTheAskedTabAndKeepsWhatWasTypedUntilApplied) {
    window->open(SettingsTab::Playback);
    ASSERT_NE(window->dialog(), nullptr);
    EXPECT_TRUE(window->isLoaded());
    EXPECT_EQ(title(), "再生設定");
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 0);

    QLineEdit* rewind = child<QLineEdit>("txtRevTime");
    rewind->clear();
    QTest::keyClicks(rewind, "1a5.-");
    EXPECT_EQ(rewind->text().toStdString(), "15");
    QTest::mouseClick(child<QPushButton>("cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(window->dialog()->isVisible());

    window->open(SettingsTab::ShortcutKeys);
    EXPECT_EQ(title(), "ショートカットキー設定");
    EXPECT_EQ(child<QTabWidget>("SSTab1")->currentIndex(), 1);
    EXPECT_EQ(child<QLineEdit>("txtRevTime")->text().toStdString(), "15");
    EXPECT_EQ(form().rewind_time(), 2);
    child<QTabWidget>("SSTab1")->setCurrentIndex(0);
    EXPECT_EQ(title(), "再生設定");
    auto* format = child<QComboBox>("cboTimeStampFormat");
    ASSERT_EQ(format->count(), 4);
    EXPECT_EQ(format->currentText().toStdString(), "[hh:mm:ss]");
    QTest::keyClick(format, Qt::Key_Down);
    EXPECT_EQ(format->currentText().toStdString(), "[hh:mm:ss.d]");

    QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(form().rewind_time(), 15);
    EXPECT_EQ(form().timestamp_format(), TimeStampFormat::BracketedTenths);
    EXPECT_FALSE(window->dialog()->isVisible());
}

// Levelling starts off; ticked and applied, it is stored, the engine levels,
// and the next start reads it back and tells the engine again.
TEST_F(SettingsDialogTest, EvenLoudnessIsOffUntilTickedAndAppliedThenKeptAcrossStarts) {
    EXPECT_EQ(stored("UserCfg.ini", "Config", "EvenLoudness"), "<missing>");
    EXPECT_FALSE(engine.evenLoudness());
    window->open(SettingsTab::Playback);
    auto* levelling = child<QCheckBox>("chkEvenLoudness");
    ASSERT_NE(levelling, nullptr);
    EXPECT_EQ(levelling->text().toStdString(), "音量を均一にする");
    EXPECT_FALSE(levelling->isChecked());
    levelling->click();
    EXPECT_FALSE(engine.evenLoudness());  // nothing before Apply
    QTest::mouseClick(child<QPushButton>("cmdSave"), Qt::LeftButton);
    EXPECT_TRUE(engine.evenLoudness());
    EXPECT_EQ(stored("UserCfg.ini", "Config", "EvenLoudness"), "1");

    form().setSettingsDialog(nullptr);
    window.reset();
    restart();
    engine.clearCalls();
    ASSERT_TRUE(load());
    const auto& calls = engine.calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "settings.evenLoudness(true)"), calls.end());
    EXPECT_TRUE(form().even_loudness());
}

TEST_F(SettingsDialogTest, PedalTabShowsEachPedalsActionAndOKStoresTheOneChosen) {
    window->open(SettingsTab::FootPedals);
    EXPECT_EQ(title(), "フットペダル設定");
    EXPECT_EQ(child<QTabWidget>("SSTab1")->tabText(2).toStdString(), "フットペダル");
    auto* left = child<QComboBox>("cboPedal0");
    EXPECT_EQ(left->currentText().toStdString(), "巻き戻し");
    EXPECT_EQ(child<QComboBox>("cboPedal1")->currentText().toStdString(), "踏んでいる間だけ再生");
    EXPECT_EQ(child<QComboBox>("cboPedal2")->currentText().toStdString(), "早送り");

    QTest::keyClick(left, Qt::Key_Down);
    EXPECT_EQ(left->currentText().toStdString(), "リピート開始位置");
    QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(form().pedal_mapping()[0], (PedalAction {PedalUse::RunCommand, Command::RepeatStart}));
    EXPECT_EQ(stored("UserCfg.ini", "FootPedal", "Left"), "RepeatStart");
}

TEST_F(SettingsDialogTest, KeyBoxesCaptureEveryKeyAndMoveTheFocusDownTheRows) {
    focusKeyBox(0);
    QTest::keyPress(keyBox(0), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(keyBox(0)->text().toStdString(), "Ctrl");
    EXPECT_EQ(QApplication::focusWidget(), keyBox(0));
    QTest::keyClick(keyBox(0), Qt::Key_F5, Qt::ControlModifier);
    QTest::keyRelease(keyBox(0), Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(keyBox(0)->text().toStdString(), "Ctrl + F5");
    EXPECT_EQ(QApplication::focusWidget(), keyBox(1));

    // Enter and Esc are keys like any other: the dialog stays open.
    QTest::keyClick(keyBox(1), Qt::Key_Return);
    QTest::keyClick(keyBox(2), Qt::Key_Escape);
    EXPECT_EQ(keyBox(1)->text().toStdString(), "Enter");
    EXPECT_EQ(keyBox(2)->text().toStdString(), "Esc");
    EXPECT_TRUE(window->dialog()->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), keyBox(3));

    QTest::keyClick(keyBox(3), Qt::Key_Tab);
    EXPECT_EQ(keyBox(3)->text().toStdString(), "Tab");
    ASSERT_TRUE(processEventsUntil([&] { return QApplication::focusWidget() == keyBox(4); }));
    QTest::keyClick(keyBox(4), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(keyBox(4)->text().toStdString(), "Shift + Tab");
    EXPECT_EQ(QApplication::focusWidget(), keyBox(3));

    // A click elsewhere changes nothing.
    child<QCheckBox>("chkDestructionKeyCode3")->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(keyBox(3)->text().toStdString(), "Tab");

    keyBox(8)->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(keyBox(8), Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(keyBox(8)->text().toStdString(), "Shift+Alt + A");
    EXPECT_EQ(QApplication::focusWidget(), keyBox(9));
    QTest::keyClick(keyBox(9), Qt::Key_B, Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), child<QPushButton>("cmdOK"));
    EXPECT_EQ(window->form().shortcutKey(0).KeyCode, 116);
    EXPECT_EQ(window->form().shortcutKey(0).ShiftStatus, 2);
}

TEST_F(SettingsDialogTest, ClickingTheTabsWhileAKeyBoxHasTheFocusCapturesNothing) {
    focusKeyBox(1);
    QTabBar* tabs = child<QTabWidget>("SSTab1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    ASSERT_EQ(title(), "再生設定");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    ASSERT_EQ(title(), "ショートカットキー設定");
    QApplication::processEvents();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(keyBox(row)->text().toStdString(), "") << "row " << row;
        EXPECT_EQ(window->form().shortcutKey(row).KeyCode, 0) << "row " << row;
    }
}

TEST_F(SettingsDialogTest, AScreenReadersToggleOfACheckBoxIsAClick) {
    store("config.ini", "ID01", "KeyDestroy", "-1");
    window->open(SettingsTab::ShortcutKeys);
    EXPECT_EQ(window->form().shortcutKey(1).KeyDestroy, -1);  // shown checked, not touched
    const auto toggle = [this](const char* name) {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(child<QCheckBox>(name));
        ASSERT_NE(box, nullptr);
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    toggle("chkDestructionKeyCode0");
    EXPECT_EQ(window->form().shortcutKey(0).KeyDestroy, 1);
    toggle("chkTopMost");
    EXPECT_TRUE(window->form().topMost());
    EXPECT_FALSE(desktop->aboveCalls.empty());
}

TEST_F(SettingsDialogTest, TheMessageLineTurnsRedForDuplicatesOnly) {
    focusKeyBox(0);
    auto* message = child<QLabel>("lblMessage");
    // A fresh config.ini: the rows are empty, which is nothing to warn about.
    EXPECT_EQ(message->text().toStdString(), "＊テキストボックスを選んで，任意のキーを入力してください。");
    EXPECT_EQ(message->palette().color(QPalette::WindowText), window->dialog()->palette().color(QPalette::ButtonText));
    EXPECT_EQ(window->dialog()->inputChecker().interval(), 500);
    EXPECT_TRUE(window->dialog()->inputChecker().isActive());

    QTest::keyClick(keyBox(0), Qt::Key_F2);
    QTest::keyClick(keyBox(1), Qt::Key_F2);
    ASSERT_TRUE(processEventsUntil([&] { return message->text().toStdString() == "＊重複したキー設定があります。"; }));
    EXPECT_EQ(message->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(SettingsDialogTest, TheTitleBarHidesTheDialogAndOnlyTheUnloadTakesTheKeysAway) {
    window->open(SettingsTab::ShortcutKeys);
    window->dialog()->close();
    EXPECT_FALSE(window->dialog()->isVisible());
    EXPECT_TRUE(window->isLoaded());
    EXPECT_EQ(hookCalls, std::vector<std::string> {});
    EXPECT_EQ(view.chkUseKey(), 1);

    form().Form_Unload();
    EXPECT_FALSE(window->isLoaded());
    EXPECT_EQ(window->dialog(), nullptr);
    EXPECT_EQ(
        hookCalls,
        (std::vector<std::string> {"TerminateHook()", "RestoreMainWindowProc(" + std::to_string(view.handle) + ")"}));
}

}  // namespace
}  // namespace lirabox::test

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);  // listing the test cases has no display either
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
