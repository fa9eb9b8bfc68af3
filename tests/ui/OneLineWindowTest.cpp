// The main window's menus and the one-line window as Qt windows over the real
// behaviour and engine, on Qt's offscreen platform: menu captions, Alt+Enter
// from any control, the one-line window's size, text, popups and drops.

#include <filesystem>
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <gtest/gtest.h>

#include "MainWindow.h"
#include "PictureBox.h"
#include "QtTestSupport.h"
#include "Recordings.h"
#include "TempFolder.h"
#include "oneline/qt/OneLineWindow.h"
#include "player/MenuHandlers.h"
#include "player/ShortcutKeyPorts.h"
#include "player/SingleInstance.h"
#include "player/Timepost.h"
#include "player/frmMain.h"
#include "player/media/MpvEngine.h"
#include "support/AppPaths.h"

namespace {

namespace fs = std::filesystem;
using lirabox::Command;
using lirabox::frmMain;
using lirabox::qt::MainWindow;
using lirabox::test::processEventsUntil;

class NoTimepost final : public lirabox::TimepostSink {
public:
    void SetTime(double) override {}
};

class NoKeytap final : public lirabox::KeytapApi {
public:
    void InitHook(std::uintptr_t) override {}
    void TerminateHook() override {}
    void RegistKey(const ShortcutKeyRecord&) override {}
};

class NoSubclass final : public lirabox::MainWindowSubclass {
public:
    void SubclassMainWindow(std::uintptr_t) override {}
    void RestoreMainWindowProc(std::uintptr_t) override {}
};

QStringList captions(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    }
    return texts;
}

void pressKey(QWidget& target, int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&target, &press);
}

void pressMouse(QWidget& target, QPoint at, Qt::MouseButton button) {
    QMouseEvent press(QEvent::MouseButtonPress, at, target.mapToGlobal(at), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target.mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &release);
}

// A file manager's drop of these files on the widget.
void dropFiles(QWidget& target, const std::string& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &dropped);
}

class OneLineWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(mTemp.file("program"));
        fs::create_directories(mTemp.file("runtime"));
        lirabox::setProgramFolder(mTemp.fileText("program"));
        ::setenv("XDG_CONFIG_HOME", mTemp.fileText("config").c_str(), 1);

        mEngine = std::make_unique<lirabox::media::MpvEngine>();
        mWindow = std::make_unique<MainWindow>();
        mWindow->applyDpi(96);
        mInstance = std::make_unique<lirabox::SingleInstance>("/lirabox-oneline-test", mTemp.fileText("runtime"));
        mForm = std::make_unique<frmMain>(frmMain::Collaborators {
            *mEngine, *mWindow, mWindow->seekbk(), mWindow->seekpoint(), mWindow->volbk(), mWindow->picArrow(),
            nullptr, mTimepost, *mInstance, mKeytap, mSubclass, nullptr});
        mWindow->connectTo(*mForm);
        mMenus = std::make_unique<lirabox::MenuHandlers>(*mForm, *mWindow, *mWindow);
        mForm->setMenuHandlers(mMenus.get());
        mWindow->connectMenus(*mMenus);
        mWindow->setOneLineWindowFactory([this](MainWindow& owner) {
            return new lirabox::oneline::qt::OneLineWindow(*mForm, owner, owner, *owner.oneLinePopup().mnuSub,
                                                           *owner.viewMenu().mnuETC, 96, owner);
        });
        ASSERT_TRUE(mForm->Form_Load(""));
        mWindow->show();
    }

    void TearDown() override {
        mWindow.reset();
        mMenus.reset();
        mForm.reset();
        mEngine.reset();
        lirabox::setProgramFolder("");
    }

    QWidget& oneLine() {
        QWidget* window = mWindow->oneLineWindow();
        if (window == nullptr) throw std::runtime_error("no one-line window");
        return *window;
    }
    QLabel& lblMain() { return *oneLine().findChild<QLabel*>(QStringLiteral("lblMain")); }

    lirabox::test::TempFolder mTemp;
    NoTimepost mTimepost;
    NoKeytap mKeytap;
    NoSubclass mSubclass;
    std::unique_ptr<lirabox::media::MpvEngine> mEngine;
    std::unique_ptr<MainWindow> mWindow;
    std::unique_ptr<lirabox::SingleInstance> mInstance;
    std::unique_ptr<frmMain> mForm;
    std::unique_ptr<lirabox::MenuHandlers> mMenus;
};

TEST_F(OneLineWindowTest, TheMenusCarryTheirCaptionsInOrderAndThePopupIsNotInTheBar) {
    QStringList bar;
    for (const QAction* menu : mWindow->menuBar()->actions()) bar << menu->text();
    EXPECT_EQ(bar, (QStringList {"ファイル", "表示", "ヘルプ"}));
    EXPECT_EQ(captions(*mWindow->viewMenu().mnuETC), (QStringList {"常に手前に表示", "1行モード          Alt+Enter"}));
    EXPECT_EQ(captions(*mWindow->helpMenu().mnuHelp), (QStringList {"目次", "-", "バージョン情報"}));
    EXPECT_EQ(captions(*mWindow->oneLinePopup().mnuSub), (QStringList {"フルモード", "常に手前に表示", "-", "終了"}));
    EXPECT_TRUE(mWindow->viewMenu().mnuToLineMode->shortcut().isEmpty());
}

TEST_F(OneLineWindowTest, TheCheckBoxAndEitherMenuItemKeepBothMarksInStep) {
    auto& box = *mWindow->findChild<QCheckBox*>(QStringLiteral("chkOnTop"));
    box.click();
    EXPECT_TRUE(mWindow->viewMenu().mnuSetOnTop->isChecked());
    EXPECT_TRUE(mWindow->oneLinePopup().mnuSetOnTopSub->isChecked());
    mWindow->oneLinePopup().mnuSetOnTopSub->trigger();
    EXPECT_FALSE(box.isChecked());
    EXPECT_FALSE(mWindow->viewMenu().mnuSetOnTop->isChecked());
    EXPECT_FALSE(mWindow->oneLinePopup().mnuSetOnTopSub->isChecked());
    mWindow->viewMenu().mnuSetOnTop->trigger();
    EXPECT_TRUE(box.isChecked());
    EXPECT_TRUE(mWindow->oneLinePopup().mnuSetOnTopSub->isChecked());
}

TEST_F(OneLineWindowTest, AltEnterOnAnyControlSwitchesToTheOneLineWindowAndBack) {
    auto& speed = *mWindow->findChild<QComboBox*>(QStringLiteral("cboSpeed"));
    speed.setFocus();
    pressKey(speed, Qt::Key_Return, Qt::AltModifier | Qt::ControlModifier);
    pressKey(speed, Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(mWindow->oneLineWindow(), nullptr);
    pressKey(speed, Qt::Key_Return, Qt::AltModifier);
    ASSERT_NE(mWindow->oneLineWindow(), nullptr);
    EXPECT_FALSE(mWindow->isVisible());
    EXPECT_TRUE(oneLine().isVisible());
    EXPECT_EQ(oneLine().windowTitle(), "Lirabox");
    EXPECT_EQ(oneLine().size(), QSize(303, 17));  // 4545 x 255 twips at 96 dpi
    EXPECT_EQ(lblMain().geometry(), QRect(0, 0, 302, 16));
    EXPECT_FALSE(oneLine().windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(oneLine().parentWidget(), mWindow.get());

    pressKey(oneLine(), Qt::Key_Enter, Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_TRUE(oneLine().isVisible());
    QPointer<QWidget> first = &oneLine();
    pressKey(oneLine(), Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_TRUE(mWindow->isVisible());
    EXPECT_TRUE(processEventsUntil([&] { return first.isNull(); })) << "the one-line window was not destroyed";
}

TEST_F(OneLineWindowTest, TheOneLineWindowFollowsTheLabelsPopsUpItsMenusAndTakesDrops) {
    mForm->runCommand(Command::OneLineMode);
    EXPECT_TRUE(processEventsUntil([&] { return lblMain().text() == "00:00:00 / 00:00:00    ファイルがありません"; }));

    pressMouse(lblMain(), QPoint(20, 8), Qt::RightButton);
    EXPECT_EQ(QApplication::activePopupWidget(), mWindow->oneLinePopup().mnuSub);
    mWindow->oneLinePopup().mnuSub->hide();
    pressMouse(oneLine(), QPoint(302, 16), Qt::RightButton);  // the strip at the bottom right
    EXPECT_EQ(QApplication::activePopupWidget(), mWindow->viewMenu().mnuETC);
    mWindow->viewMenu().mnuToLineMode->trigger();
    mWindow->viewMenu().mnuETC->hide();
    EXPECT_FALSE(mWindow->isVisible());
    ASSERT_NE(mWindow->oneLineWindow(), nullptr);

    const fs::path recording = mTemp.file("dictation.wav");
    lirabox::test::writeSineWav(recording, 5, 440.0, 8000, 1);
    dropFiles(lblMain(), recording.string());
    EXPECT_TRUE(processEventsUntil([&] { return lblMain().text() == "00:00:00 / 00:00:05    dictation.wav"; }))
        << lblMain().text().toStdString();
    EXPECT_NE(mEngine->playState(), lirabox::media::kPlaying);
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
