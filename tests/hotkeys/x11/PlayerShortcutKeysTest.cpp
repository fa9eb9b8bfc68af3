// The shortcut keys of the player's main window, end to end inside one
// process: the real window and behaviour (on an in-memory engine, so
// positions move only by commands), the real libkeytap.so and the real
// key-message handling, on a private X server where another client holds the
// focus and xdotool presses the keys.

#include "OtherClient.h"
#include "app/qt/keys/DeclaredFunctionManager.h"
#include "app/qt/mainwindow/MainWindow.h"
#include "app/qt/mainwindow/PictureBox.h"
#include "hotkeys/KeytapBinding.h"
#include "player/frmMain.h"
#include "player/media/fake/FakeMediaEngine.h"
#include "support/AppPaths.h"
#include "tests/app/qt/QtTestSupport.h"
#include "tests/common/TempFolder.h"
#include "tests/hotkeys/ShortcutRows.h"
#include "tests/player/PlayerFakes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QWindow>

#include <X11/keysym.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace lirabox::hotkeys {
namespace {

namespace fs = std::filesystem;
using test::OtherClient;
using test::processEventsUntil;
using test::shortcutRow;
using test::xdotool;
using test::XId;

constexpr int kF1 = 112, kF6 = 117, kF7 = 118;

class ShortcutKeysInThePlayer : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(mTemp.file("program"));
        fs::create_directories(mTemp.file("config"));
        setProgramFolder(mTemp.fileText("program"));
        ::setenv("XDG_CONFIG_HOME", mTemp.fileText("config").c_str(), 1);
    }

    void TearDown() override {
        if (mForm) mForm->Form_Unload();
        // The hook stays on after the window's unload, as in the program;
        // the next test starts from a library that watches nothing.
        mKeytap.TerminateHook();
        mWindow.reset();
        mForm.reset();
        setProgramFolder("");
    }

    void writeConfig(const std::string& text) {
        std::ofstream(mTemp.file("program") / "config.ini", std::ios::binary) << text;
    }

    // Starts the player on config.ini as written, loads a recording and gives
    // the focus to the other client.
    void start() {
        mWindow = std::make_unique<qt::MainWindow>();
        mWindow->setAttribute(Qt::WA_ShowWithoutActivating);
        mForm = std::make_unique<frmMain>(frmMain::Collaborators {mEngine,
                                                                  *mWindow,
                                                                  mWindow->seekbk(),
                                                                  mWindow->seekpoint(),
                                                                  mWindow->volbk(),
                                                                  mWindow->picArrow(),
                                                                  nullptr,
                                                                  mTimepost,
                                                                  mInstance,
                                                                  mKeytap,
                                                                  mSubclass,
                                                                  nullptr});
        mWindow->connectTo(*mForm);
        mSubclass.setKeyMessageHandler([this](std::int32_t slot) { mForm->KeyMessage(slot); });
        ASSERT_TRUE(mForm->Form_Load(""));
        mWindow->show();
        ASSERT_TRUE(processEventsUntil([&] { return mWindow->windowHandle()->isExposed(); }));
        mForm->fileOpen(mTemp.fileText("talk.wav"));
        ASSERT_TRUE(mEngine.loaded());
        QCoreApplication::processEvents();
        ASSERT_TRUE(mOther.takeFocus());
    }

    // Presses a key and runs the event loop until the condition holds.
    bool press(const std::string& key, const std::function<bool()>& condition) {
        xdotool("key " + key);
        return processEventsUntil(condition);
    }

    // Lets whatever the X server has for the window arrive and run.
    static void settle() {
        processEventsUntil([] { return false; }, std::chrono::milliseconds(300));
    }

    QCheckBox& chkUseKey() { return *mWindow->findChild<QCheckBox*>(QStringLiteral("chkUseKey")); }

    test::TempFolder mTemp;
    test::FakeMediaEngine mEngine;
    test::RecordingTimepost mTimepost;
    test::FixedInstanceGuard mInstance;
    KeytapBinding mKeytap;
    DeclaredFunctionManager mSubclass;
    OtherClient mOther;
    std::unique_ptr<qt::MainWindow> mWindow;
    std::unique_ptr<frmMain> mForm;
};

TEST_F(ShortcutKeysInThePlayer, EachRowRunsItsCommandWhileAnotherProgramHasTheFocus) {
    std::string config;
    for (int index = 0; index < 8; ++index) config += shortcutRow(index, index, kF1 + index, 1);
    writeConfig(config);
    start();
    mEngine.setPosition(10);

    ASSERT_TRUE(press("F5", [&] { return mEngine.position() == 12; }));  // 4 fast-forward
    ASSERT_TRUE(press("F6", [&] { return mEngine.position() == 10; }));  // 5 rewind
    ASSERT_TRUE(press("F3", [&] { return mForm->playRate() > 1.05; }));  // 2 faster
    EXPECT_DOUBLE_EQ(mEngine.rate(), mForm->playRate());
    ASSERT_TRUE(press("F4", [&] { return mForm->playRate() < 1.05; }));    // 3 slower
    ASSERT_TRUE(press("F7", [&] { return mForm->repeatStart() == 10; }));  // 6 repeat start
    mEngine.setPosition(20);
    ASSERT_TRUE(press("F8", [&] { return mForm->repeatEnd() == 20; }));            // 7 repeat end
    ASSERT_TRUE(press("F1", [&] { return mEngine.state() == media::kPlaying; }));  // 0 play ...
    EXPECT_EQ(mEngine.position(), 19);                                             // one second of automatic rewind
    ASSERT_TRUE(press("F1", [&] { return mEngine.state() == media::kPaused; }));   // ... and pause
    ASSERT_TRUE(press("F2", [&] { return mEngine.state() == media::kStopped; }));  // 1 stop
    EXPECT_EQ(mEngine.position(), 0);

    EXPECT_EQ(mOther.pressesBeforeMarker(), std::vector<XId> {});  // every key-down was swallowed
}

TEST_F(ShortcutKeysInThePlayer, AHandEditedRowRegistersItsKeyInTheSlotItNames) {
    writeConfig(shortcutRow(2, 6, kF7, 0));
    start();
    mEngine.setPosition(7);

    ASSERT_TRUE(press("F7", [&] { return mForm->repeatStart() == 7; }));
    EXPECT_EQ(mOther.pressesBeforeMarker(), std::vector<XId> {XK_F7});
    EXPECT_DOUBLE_EQ(mForm->playRate(), 1.0);
    EXPECT_DOUBLE_EQ(mEngine.rate(), 1.0);
}

TEST_F(ShortcutKeysInThePlayer, ClearingTheBoxStopsTheKeysAndCheckingItReadsTheRowsAgain) {
    writeConfig(shortcutRow(4, 4, kF6, 1));
    start();
    ASSERT_TRUE(press("F6", [&] { return mEngine.position() == 2; }));

    chkUseKey().click();
    ASSERT_EQ(mWindow->chkUseKey(), 0);
    xdotool("key F6");
    EXPECT_EQ(mOther.pressesBeforeMarker(), std::vector<XId> {XK_F6});
    settle();
    EXPECT_EQ(mEngine.position(), 2);

    // The row is read again when the box is checked: F7 now, in place of F6.
    writeConfig(shortcutRow(4, 4, kF7, 1));
    chkUseKey().click();
    ASSERT_EQ(mWindow->chkUseKey(), 1);
    ASSERT_TRUE(mOther.takeFocus());
    ASSERT_TRUE(press("F7", [&] { return mEngine.position() == 4; }));
    xdotool("key F6");
    EXPECT_EQ(mOther.pressesBeforeMarker(), std::vector<XId> {XK_F6});
    settle();
    EXPECT_EQ(mEngine.position(), 4);
}

TEST_F(ShortcutKeysInThePlayer, TheKeysKeepWorkingWhileTheMainWindowIsHidden) {
    writeConfig(shortcutRow(4, 4, kF6, 1));
    start();
    mWindow->hide();
    ASSERT_TRUE(mOther.takeFocus());
    ASSERT_TRUE(press("F6", [&] { return mEngine.position() == 2; }));
}

}  // namespace
}  // namespace lirabox::hotkeys

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
