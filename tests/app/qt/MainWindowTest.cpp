// The Qt main window over the real behaviour classes and the real engine, on
// Qt's offscreen platform: what it shows, where, and what its controls call.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include "QtTestSupport.h"
#include "app/qt/mainwindow/MainWindow.h"
#include "app/qt/mainwindow/OpenDialog.h"
#include "app/qt/mainwindow/PictureBox.h"
#include "app/qt/oneline/OneLineWindow.h"
#include "player/FormLayout.h"
#include "player/MenuHandlers.h"
#include "player/ShortcutKeyPorts.h"
#include "player/SingleInstance.h"
#include "player/Timepost.h"
#include "player/frmMain.h"
#include "player/media/mpv/MpvEngine.h"
#include "support/AppPaths.h"
#include "support/clsIniFile.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using lirabox::frmMain;
using lirabox::qt::MainWindow;
using lirabox::qt::PictureBox;
using lirabox::test::processEventsUntil;
using lirabox::test::TempFolder;
using lirabox::test::whenModalShows;

const char* const kSoundFilter =
    "音声ファイル(*.wav;*.mp3)|*.wav;*.mp3|WindowsMediaAudio(*.wma)|*.wma|全てのファイル(*)|*"
    "|その他の音声ファイル(*.m4a;*.aac;*.ogg;*.opus;*.flac)|*.m4a;*.aac;*.ogg;*.opus;*.flac";
const QStringList kQtSoundFilters {QStringLiteral("音声ファイル (*.wav *.mp3)"),
                                   QStringLiteral("WindowsMediaAudio (*.wma)"),
                                   QStringLiteral("全てのファイル (*)"),
                                   QStringLiteral("その他の音声ファイル (*.m4a *.aac *.ogg *.opus *.flac)")};

class RecordingTimepost final : public lirabox::TimepostSink {
public:
    void SetTime(double seconds) override { positions.push_back(seconds); }
    std::vector<double> positions;
};

class RecordingKeytap final : public lirabox::KeytapApi {
public:
    void InitHook(std::uintptr_t) override { calls.push_back("InitHook"); }
    void TerminateHook() override { calls.push_back("TerminateHook"); }
    void RegistKey(const ShortcutKeyRecord&) override { calls.push_back("RegistKey"); }
    std::vector<std::string> calls;
};

struct MessageSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers the next message box with OK and tells what it said.
std::shared_ptr<MessageSeen> answerNextMessage() {
    auto seen = std::make_shared<MessageSeen>();
    whenModalShows([seen](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        if (box == nullptr) return modal.close(), void();
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    return seen;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(mTemp.file("program"));
        fs::create_directories(mTemp.file("config"));
        fs::create_directories(mTemp.file("runtime"));
        lirabox::setProgramFolder(mTemp.fileText("program"));
        ::setenv("XDG_CONFIG_HOME", mTemp.fileText("config").c_str(), 1);

        mEngine = std::make_unique<lirabox::media::MpvEngine>();
        mWindow = std::make_unique<MainWindow>();
        mWindow->applyDpi(96);
        mInstance = std::make_unique<lirabox::SingleInstance>("/lirabox-window-test", mTemp.fileText("runtime"));
        mForm = std::make_unique<frmMain>(frmMain::Collaborators {*mEngine,
                                                                  *mWindow,
                                                                  mWindow->seekbk(),
                                                                  mWindow->seekpoint(),
                                                                  mWindow->volbk(),
                                                                  mWindow->picArrow(),
                                                                  nullptr,
                                                                  mTimepost,
                                                                  *mInstance,
                                                                  mKeytap,
                                                                  mSubclass,
                                                                  nullptr});
        mWindow->connectTo(*mForm);
        mMenus = std::make_unique<lirabox::MenuHandlers>(*mForm, *mWindow, *mWindow);
        mForm->setMenuHandlers(mMenus.get());
        mWindow->connectMenus(*mMenus);
        mWindow->setOneLineWindowFactory([this](MainWindow& owner) {
            return new lirabox::oneline::qt::OneLineWindow(
                *mForm, owner, owner, *owner.oneLinePopup().mnuSub, *owner.viewMenu().mnuETC, 96, owner);
        });
        ASSERT_TRUE(mForm->Form_Load(""));
        mWindow->show();
    }

    void TearDown() override {
        mWindow->hide();
        mWindow.reset();
        mMenus.reset();
        mForm.reset();
        mEngine.reset();
        lirabox::setProgramFolder("");
    }

    template <class Widget = QWidget>
    Widget& control(const char* name) {
        auto* widget = mWindow->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) throw std::runtime_error(std::string("no control ") + name);
        return *widget;
    }

    std::string recording(const std::string& name, double seconds) {
        const fs::path path = mTemp.file(name);
        lirabox::test::writeSineWav(path, seconds, 440.0, 8000, 1);
        return path.string();
    }

    // Sends a drag over the widget; true when the widget takes it for an action.
    static bool dragEnter(QWidget& widget, const QMimeData& data, Qt::DropAction* action = nullptr) {
        const DragAnswer answer = sendDragEnter(widget, data);
        if (action != nullptr) *action = answer.action;
        return answer.accepted && answer.action != Qt::IgnoreAction;
    }

    // Drags the data over the widget and, as Qt does, drops it there only when
    // the drag was accepted; true when the drop is taken for an action.
    static bool drop(QWidget& widget, const QMimeData& data) {
        if (!sendDragEnter(widget, data).accepted) return false;
        QDropEvent dropped(QPointF(1, 1), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        dropped.setDropAction(Qt::MoveAction);
        dropped.setAccepted(false);
        QCoreApplication::sendEvent(&widget, &dropped);
        return dropped.isAccepted() && dropped.dropAction() != Qt::IgnoreAction;
    }

    struct DragAnswer {
        bool accepted;
        Qt::DropAction action;
    };

    static DragAnswer sendDragEnter(QWidget& widget, const QMimeData& data) {
        QDragEnterEvent enter(
            QPoint(1, 1), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(Qt::MoveAction);
        enter.setAccepted(false);
        QCoreApplication::sendEvent(&widget, &enter);
        return {enter.isAccepted(), enter.dropAction()};
    }

    static std::unique_ptr<QMimeData> files(const std::vector<std::string>& paths) {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
        data->setUrls(urls);
        return data;
    }

    static void mouse(QWidget& widget, QEvent::Type type, double x) {
        const QPointF local(x, 2);
        QMouseEvent event(type,
                          local,
                          widget.mapToGlobal(local),
                          type == QEvent::MouseButtonRelease ? Qt::LeftButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &event);
    }

    TempFolder mTemp;
    RecordingTimepost mTimepost;
    RecordingKeytap mKeytap;
    lirabox::NullMainWindowSubclass mSubclass;
    std::unique_ptr<lirabox::media::MpvEngine> mEngine;
    std::unique_ptr<MainWindow> mWindow;
    std::unique_ptr<lirabox::SingleInstance> mInstance;
    std::unique_ptr<frmMain> mForm;
    std::unique_ptr<lirabox::MenuHandlers> mMenus;
};

// ---------------------------------------------------------------------------
// What the window shows and where

TEST_F(MainWindowTest, ControlsStandAtTheirTwipsPlacesFifteenTwipsToThePixel) {
    EXPECT_EQ(control("client").size(), QSize(478, 77));
    EXPECT_EQ(control("lblTimeNow").geometry(), QRect(8, 5, 101, 15));
    EXPECT_EQ(control("lblFile").x(), 125);  // its height is a full text line (below)
    EXPECT_EQ(control("lblFile").width(), 352);
    EXPECT_EQ(control("seekbk").geometry(), QRect(0, 24, 479, 10));
    EXPECT_EQ(control("cmdPlay").geometry(), QRect(1, 37, 59, 40));
    EXPECT_EQ(control("cmdStop").geometry(), QRect(59, 37, 37, 40));
    EXPECT_EQ(control("cmdOpen").geometry(), QRect(96, 37, 27, 23));
    EXPECT_EQ(control("cmdRewind").geometry(), QRect(123, 37, 48, 23));
    EXPECT_EQ(control("cmdForward").geometry(), QRect(171, 37, 48, 23));
    EXPECT_EQ(control("volbk").geometry(), QRect(96, 60, 122, 15));
    EXPECT_EQ(control("Label2").geometry(), QRect(228, 56, 17, 17));
    EXPECT_EQ(control("Label1").geometry(), QRect(239, 37, 54, 21));
    EXPECT_EQ(control("cboSpeed").geometry(), QRect(242, 54, 49, 20));
    EXPECT_EQ(control("chkUseKey").geometry(), QRect(298, 38, 169, 14));
    EXPECT_EQ(control("chkOnTop").geometry(), QRect(298, 56, 109, 17));
    EXPECT_EQ(control("StatusBar1").geometry(), QRect(0, 75, 478, 2));
    // The arrows inside their bars, the seek arrow at 0 s.
    EXPECT_EQ(control("seekpoint").geometry(), QRect(0, 1, 9, 9));
    EXPECT_EQ(control("picArrow").size(), QSize(9, 9));
}

TEST_F(MainWindowTest, TheSpeedButtonsLieBelowTheClientArea) {
    const int clientHeight = control("client").height();
    EXPECT_GE(control("cmdSpeed0").geometry().top(), clientHeight);
    EXPECT_GE(control("cmdSpeed1").geometry().top(), clientHeight);
    EXPECT_EQ(control<QPushButton>("cmdSpeed0").text(), QStringLiteral("↑ up "));
    EXPECT_EQ(control<QPushButton>("cmdSpeed1").text(), QStringLiteral("↓down"));
}

TEST_F(MainWindowTest, ADenserScreenGetsALargerWindowOfTheSameInches) {
    mWindow->applyDpi(192);
    EXPECT_EQ(control("client").size(), QSize(956, 154));
    EXPECT_EQ(control("cmdPlay").geometry(), QRect(2, 74, 118, 80));
    EXPECT_EQ(control("seekpoint").size(), QSize(18, 18));
    // The slider keeps its twips: the volume arrow stays at the middle of its bar.
    EXPECT_DOUBLE_EQ(mWindow->picArrow().Left(), 915);
    EXPECT_EQ(control("picArrow").x(), 122);
}

TEST_F(MainWindowTest, ShowsItsCaptionAndTexts) {
    EXPECT_EQ(mWindow->windowTitle(), QStringLiteral("Lirabox"));
    EXPECT_EQ(control<QLabel>("lblTimeNow").text(), QStringLiteral("00:00:00 / 00:00:00"));
    EXPECT_EQ(control<QLabel>("lblFile").text(), QStringLiteral("ファイルがありません"));
    EXPECT_EQ(control<QLabel>("Label1").text(), QStringLiteral("Speed"));
    EXPECT_EQ(control<QLabel>("Label2").text(), QStringLiteral("x"));
    EXPECT_EQ(control<QCheckBox>("chkUseKey").text(), QStringLiteral("ショートカットキーを有効にする"));
    EXPECT_EQ(control<QCheckBox>("chkOnTop").text(), QStringLiteral("常に手前に表示"));
    EXPECT_FALSE(control<QCheckBox>("chkOnTop").isChecked());
    // The program's own icon, drawn at every size the desktop asks for.
    for (const int side : {16, 48, 256}) {
        const QImage icon = mWindow->windowIcon().pixmap(side, side).toImage();
        ASSERT_EQ(icon.size(), QSize(side, side));
        EXPECT_GT(qAlpha(icon.pixel(side / 2, side / 2)), 200) << side;
    }
}

TEST_F(MainWindowTest, TextsFitTheirControlsInsteadOfBeingCut) {
    for (const char* name : {"lblTimeNow", "Label1", "Label2", "chkUseKey", "chkOnTop"}) {
        QWidget& widget = control(name);
        EXPECT_LE(widget.sizeHint().width(), widget.width()) << name;
    }
}

TEST_F(MainWindowTest, TheFileNameShowsAFullLineAboveTheSeekBarAtEveryDensity) {
    for (const double dpi : {96.0, 120.0, 144.0, 192.0}) {
        mWindow->applyDpi(dpi);
        const QWidget& name = control("lblFile");
        EXPECT_GE(name.height(), name.fontMetrics().height()) << dpi;
        EXPECT_LE(name.geometry().bottom(), control("seekbk").y()) << dpi;
        EXPECT_GE(name.y(), 0) << dpi;
    }
}

TEST_F(MainWindowTest, ButtonsAndSlidersAreNamedForAssistiveTechnology) {
    for (const char* name : {"cmdPlay", "cmdStop", "cmdOpen", "cmdRewind", "cmdForward"}) {
        auto& button = control<QPushButton>(name);
        EXPECT_FALSE(button.toolTip().isEmpty()) << name;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&button);
        ASSERT_NE(accessible, nullptr) << name;
        EXPECT_EQ(accessible->text(QAccessible::Name), button.toolTip()) << name;
    }
    mForm->fileOpen(recording("values.wav", 120));
    mForm->volumeSlider().setValue(1250);
    mEngine->controls().currentPosition(30);
    mForm->Timer2_Timer();
    const auto valueOf = [](QWidget& bar) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&bar);
        EXPECT_EQ(accessible->role(), QAccessible::Slider);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty());
        QAccessibleValueInterface* value = accessible->valueInterface();
        return value == nullptr ? QStringList {}
                                : QStringList {value->minimumValue().toString(),
                                               value->currentValue().toString(),
                                               value->maximumValue().toString()};
    };
    EXPECT_EQ(valueOf(control("seekbk")), (QStringList {"0", "30", "120"}));
    // The volume is told as a percentage.
    EXPECT_EQ(valueOf(control("volbk")), (QStringList {"0", "25", "100"}));
}

TEST_F(MainWindowTest, ThePlayButtonShowsWhatAClickWillDo) {
    auto& play = control<QPushButton>("cmdPlay");
    EXPECT_EQ(play.toolTip(), QStringLiteral("再生"));
    mForm->fileOpen(recording("toggle.wav", 5));
    play.click();
    EXPECT_EQ(mEngine->playState(), lirabox::media::kPlaying);
    EXPECT_EQ(play.toolTip(), QStringLiteral("一時停止"));
    play.click();
    EXPECT_EQ(play.toolTip(), QStringLiteral("再生"));
}

TEST_F(MainWindowTest, PictureButtonsShowPicturesAndNoText) {
    for (const char* name : {"cmdPlay", "cmdStop", "cmdOpen", "cmdRewind", "cmdForward"}) {
        auto& button = control<QPushButton>(name);
        EXPECT_FALSE(button.icon().isNull()) << name;
        EXPECT_TRUE(button.text().isEmpty()) << name;
    }
}

TEST_F(MainWindowTest, TheSpeedListHoldsTheRatesAndShowsOne) {
    auto& list = control<QComboBox>("cboSpeed");
    ASSERT_EQ(list.count(), 26);
    EXPECT_EQ(list.itemText(0), QStringLiteral("3"));
    EXPECT_EQ(list.itemText(1), QStringLiteral("2.9"));
    EXPECT_EQ(list.itemText(25), QStringLiteral("0.5"));
    EXPECT_EQ(list.currentText(), QStringLiteral("1"));
}

TEST_F(MainWindowTest, ASpeedTextThatIsNoItemIsStillShown) {
    mWindow->setCboSpeedText("1.05");
    EXPECT_EQ(mWindow->cboSpeedText(), "1.05");
    mWindow->setCboSpeedText("2.5");
    EXPECT_EQ(control<QComboBox>("cboSpeed").currentText(), QStringLiteral("2.5"));
    EXPECT_EQ(mWindow->cboSpeedText(), "2.5");
}

TEST_F(MainWindowTest, TheFileMenuHoldsItsItemsInOrderWithTheirShortcuts) {
    const QList<QAction*> menus = mWindow->menuBar()->actions();
    ASSERT_FALSE(menus.isEmpty());
    EXPECT_EQ(menus[0]->text(), QStringLiteral("ファイル"));
    QStringList captions;
    for (QAction* item : menus[0]->menu()->actions()) {
        if (item->isVisible()) captions << (item->isSeparator() ? "-" : item->text());
    }
    EXPECT_EQ(captions,
              (QStringList {"開く",
                            "-",
                            "再生",
                            "一時停止",
                            "停止",
                            "早送り",
                            "巻き戻し",
                            "再生速度アップ",
                            "再生速度ダウン",
                            "タイムスタンプ挿入",
                            "指定時間へ移動…",
                            "-",
                            "終了"}));
    const auto& menu = mWindow->fileMenu();
    EXPECT_EQ(menu.mnuOpen->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(menu.mnuQuit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(menu.mnuGoToTime->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    for (QAction* item : {menu.mnuPlay,
                          menu.mnuPause,
                          menu.mnuStop,
                          menu.mnuFor,
                          menu.mnuRev,
                          menu.mnuSpeedUp,
                          menu.mnuSpeedDown,
                          menu.mnuTimeStamp}) {
        EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
    }
}

TEST_F(MainWindowTest, TheFileMenuListsTheRecentRecordingsEachTimeItOpensAMissingOneGreyed) {
    const std::string gone = recording("gone & lost.wav", 5);
    mForm->fileOpen(gone);
    mForm->fileOpen(recording("kept.wav", 5));
    fs::remove(gone);
    QMenu& file = *mWindow->fileMenu().mnuMain;
    emit file.aboutToShow();
    const auto& recent = mWindow->fileMenu().mnuRecent;
    EXPECT_TRUE(recent[0]->isVisible());
    EXPECT_EQ(recent[0]->text().toStdString(), "&1 " + mTemp.fileText("kept.wav"));
    EXPECT_TRUE(recent[0]->isEnabled());
    EXPECT_EQ(recent[1]->text().toStdString(), "&2 " + mTemp.fileText("gone && lost.wav"));
    EXPECT_FALSE(recent[1]->isEnabled());
    EXPECT_FALSE(recent[2]->isVisible());
    EXPECT_TRUE(mWindow->fileMenu().mnuRecentEnd->isVisible());
    recent[0]->trigger();
    EXPECT_EQ(mEngine->currentMedia().sourceURL(), mTemp.fileText("kept.wav"));
}

TEST_F(MainWindowTest, TheSettingsMenuFollowsTheFileMenu) {
    const QList<QAction*> menus = mWindow->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[1]->text(), QStringLiteral("設定"));
    QStringList captions;
    for (QAction* item : menus[1]->menu()->actions()) captions << item->text();
    EXPECT_EQ(captions, (QStringList {"再生設定", "ショートカットキー設定"}));
}

TEST_F(MainWindowTest, TheRepeatLineIsDrawnBetweenItsEnds) {
    auto isRed = [](QColor c) { return c.red() > 150 && c.green() < 120 && c.blue() < 120; };
    mWindow->setRepeatIntervalX1(1796.25);  // a quarter of the bar
    mWindow->setRepeatIntervalX2(5388.75);  // three quarters
    const QImage picture = control("seekbk").grab().toImage();
    const int bottom = picture.height() - 1;
    EXPECT_FALSE(isRed(picture.pixelColor(picture.width() / 8, bottom)));
    EXPECT_TRUE(isRed(picture.pixelColor(picture.width() / 2, bottom)));
    EXPECT_FALSE(isRed(picture.pixelColor(picture.width() * 7 / 8, bottom)));
}

// ---------------------------------------------------------------------------
// What the controls call

TEST_F(MainWindowTest, TheMenuDrivesPlaybackAndTheTick) {
    mForm->fileOpen(recording("menu.wav", 30));
    const auto& menu = mWindow->fileMenu();
    menu.mnuPlay->trigger();
    EXPECT_EQ(mEngine->playState(), lirabox::media::kPlaying);
    EXPECT_TRUE(mWindow->Timer2Enabled());
    ASSERT_TRUE(processEventsUntil([&] { return mTimepost.positions.size() >= 2; }));

    menu.mnuPause->trigger();
    EXPECT_EQ(mEngine->playState(), lirabox::media::kPaused);
    EXPECT_FALSE(mWindow->Timer2Enabled());

    menu.mnuSpeedUp->trigger();
    EXPECT_DOUBLE_EQ(mForm->playRate(), 1.1);
    EXPECT_EQ(mWindow->cboSpeedText(), "1.1");
    menu.mnuSpeedDown->trigger();
    menu.mnuSpeedDown->trigger();
    EXPECT_EQ(mWindow->cboSpeedText(), "0.9");

    menu.mnuFor->trigger();
    const double forward = mEngine->controls().currentPosition();
    menu.mnuRev->trigger();
    EXPECT_LT(mEngine->controls().currentPosition(), forward);

    menu.mnuStop->trigger();
    EXPECT_EQ(mEngine->playState(), lirabox::media::kStopped);
}

TEST_F(MainWindowTest, ChoosingASpeedInTheListAppliesIt) {
    auto& list = control<QComboBox>("cboSpeed");
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&list, &down);
    EXPECT_EQ(list.currentText(), QStringLiteral("0.9"));
    EXPECT_DOUBLE_EQ(mForm->playRate(), 0.9);
}

TEST_F(MainWindowTest, TheButtonsCallTheirCommands) {
    mForm->fileOpen(recording("buttons.wav", 30));
    control<QPushButton>("cmdPlay").click();
    EXPECT_EQ(mEngine->playState(), lirabox::media::kPlaying);
    control<QPushButton>("cmdPlay").click();
    EXPECT_EQ(mEngine->playState(), lirabox::media::kPaused);
    control<QPushButton>("cmdForward").click();
    EXPECT_NEAR(mEngine->controls().currentPosition(), 2, 0.5);
    control<QPushButton>("cmdSpeed0").click();
    EXPECT_DOUBLE_EQ(mForm->playRate(), 1.1);
    control<QPushButton>("cmdSpeed1").click();
    EXPECT_DOUBLE_EQ(mForm->playRate(), 1.0);
    const double before = mEngine->controls().currentPosition();
    control<QPushButton>("cmdRewind").click();
    EXPECT_NEAR(mEngine->controls().currentPosition(), before >= 2 ? before - 2 : 0, 0.01);
    control<QPushButton>("cmdPlay").click();
    control<QPushButton>("cmdStop").click();
    EXPECT_EQ(mEngine->playState(), lirabox::media::kStopped);
    EXPECT_FALSE(mWindow->Timer2Enabled());
}

TEST_F(MainWindowTest, TheShortcutCheckBoxSwitchesTheKeysOffAndOn) {
    EXPECT_EQ(mWindow->chkUseKey(), 1);
    mKeytap.calls.clear();
    control<QCheckBox>("chkUseKey").click();
    EXPECT_EQ(mWindow->chkUseKey(), 0);
    EXPECT_EQ(mKeytap.calls, std::vector<std::string> {"TerminateHook"});
    control<QCheckBox>("chkUseKey").click();
    EXPECT_EQ(mWindow->chkUseKey(), 1);
    ASSERT_FALSE(mKeytap.calls.empty());
    EXPECT_EQ(mKeytap.calls[1], "InitHook");
}

TEST_F(MainWindowTest, DraggingTheSeekArrowToTheMiddleGoesToTheMiddleSecond) {
    mForm->fileOpen(recording("seek.wav", 120));
    PictureBox& arrow = mWindow->seekpoint();
    mouse(arrow, QEvent::MouseButtonPress, 0);
    // The pointer at the bar's midpoint: 3592.5 twips from the arrow's left edge at 0.
    mouse(arrow, QEvent::MouseMove, 239.5);
    mouse(arrow, QEvent::MouseButtonRelease, 239.5);
    EXPECT_EQ(mForm->seekSlider().Value(), 59);
    EXPECT_DOUBLE_EQ(arrow.Left(), 3533);  // 7185 x 59 / 120, rounded
    EXPECT_EQ(arrow.x(), 236);
    EXPECT_FALSE(mForm->seekSlider().MouseDown());
}

TEST_F(MainWindowTest, PressingTheSeekBarBesideTheArrowGoesThere) {
    mForm->fileOpen(recording("press.wav", 120));
    PictureBox& bar = mWindow->seekbk();
    // At three quarters of the bar (359.25 px = 5388.75 twips) the arrow's
    // middle goes there, as in a drag: (5388.75 - 67.5) / 7185 x 120 = 88.87.
    mouse(bar, QEvent::MouseButtonPress, 359.25);
    mouse(bar, QEvent::MouseButtonRelease, 359.25);
    EXPECT_EQ(mForm->seekSlider().Value(), 89);
    EXPECT_NEAR(mEngine->controls().currentPosition(), 89, 0.01);
    EXPECT_NE(mEngine->playState(), lirabox::media::kPlaying);
    EXPECT_EQ(mWindow->lblTimeNow(), "00:01:29 / 00:02:00");
    EXPECT_FALSE(mForm->seekSlider().MouseDown());
}

TEST_F(MainWindowTest, DraggingTheVolumeArrowSetsTheVolume) {
    PictureBox& arrow = mWindow->picArrow();
    mouse(arrow, QEvent::MouseButtonPress, 4);
    // Pointer 366 twips into the bar: (915 - 549 + 67.5 ... ) -> a fifth of 5000.
    mouse(arrow, QEvent::MouseMove, -(915.0 - 366.0 - 67.5) / 15.0);
    mouse(arrow, QEvent::MouseButtonRelease, 0);
    EXPECT_EQ(mForm->volumeSlider().Value(), 1000);
    EXPECT_DOUBLE_EQ(arrow.Left(), 366);
}

TEST_F(MainWindowTest, TheSlidersTakeTheArrowPageHomeAndEndKeys) {
    mForm->fileOpen(recording("keys.wav", 100));
    PictureBox& seek = mWindow->seekbk();
    EXPECT_EQ(seek.focusPolicy(), Qt::StrongFocus);
    // Each key is a press on the bar at the arrow's value moved by the key; the
    // press plays for a moment, so the arrow may show the play's step back (1 s).
    QTest::keyClick(&seek, Qt::Key_End);
    EXPECT_GE(mEngine->controls().currentPosition(), 98.5);
    QTest::keyClick(&seek, Qt::Key_Home);
    EXPECT_NEAR(mEngine->controls().currentPosition(), 0, 0.5);
    QTest::keyClick(&seek, Qt::Key_PageUp);
    const double page = mEngine->controls().currentPosition();
    EXPECT_NEAR(page, 9.5, 1);
    QTest::keyClick(&seek, Qt::Key_Right);
    EXPECT_GT(mEngine->controls().currentPosition(), page + 0.5);
    EXPECT_LT(mEngine->controls().currentPosition(), page + 2.5);

    PictureBox& volume = mWindow->volbk();
    mForm->volumeSlider().setValue(2500);
    QTest::keyClick(&volume, Qt::Key_PageDown);
    EXPECT_EQ(mForm->volumeSlider().Value(), 2000);
    QTest::keyClick(&volume, Qt::Key_Up);
    EXPECT_EQ(mForm->volumeSlider().Value(), 2100);
    QTest::keyClick(&volume, Qt::Key_End);
    EXPECT_EQ(mForm->volumeSlider().Value(), 5000);
}

TEST_F(MainWindowTest, ClosingTheWindowSavesTheVolumeOnce) {
    mForm->volumeSlider().setValue(1234);
    mWindow->close();
    lirabox::clsIniFile positions;
    positions.setFileName("position.ini");
    EXPECT_EQ(positions.ReadString("Volume", "value", "none"), "1234");
    fs::remove(mTemp.file("program") / "position.ini");
    mWindow->close();
    EXPECT_FALSE(fs::exists(mTemp.file("program") / "position.ini"));
}

TEST_F(MainWindowTest, TheQuitItemClosesTheWindow) {
    mWindow->fileMenu().mnuQuit->trigger();
    EXPECT_FALSE(mWindow->isVisible());
    EXPECT_TRUE(fs::exists(mTemp.file("program") / "position.ini"));
}

TEST_F(MainWindowTest, AMessageShowsItsTitleIconAndLines) {
    auto seen = answerNextMessage();
    mWindow->MsgBox("一行目\r\n二行目", lirabox::MessageIcon::Information, "タイトル");
    EXPECT_EQ(seen->title, QStringLiteral("タイトル"));
    EXPECT_EQ(seen->text, QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(seen->icon, QMessageBox::Information);
}

// ---------------------------------------------------------------------------
// The Open dialog

// A name that shows its patterns already shows them once, in Qt's form.
TEST(OpenDialogFilter, EachNameAndPatternPairBecomesOneQtFilterInOrder) {
    EXPECT_EQ(lirabox::qt::toQtNameFilters(kSoundFilter), kQtSoundFilters);
    EXPECT_EQ(lirabox::qt::toQtNameFilters("Text|*.txt; *.md|Lonely"),
              (QStringList {"Text (*.txt *.md)", "Lonely (*)"}));
}

TEST_F(MainWindowTest, TheOpenDialogAsksForAnExistingSoundFileAndLoadsTheChoice) {
    const std::string path = recording("chosen.wav", 5);
    QString title, suffix, selectedFilter;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    whenModalShows([&](QWidget& modal) {
        auto& dialog = dynamic_cast<QFileDialog&>(modal);
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        selectedFilter = dialog.selectedNameFilter();
        suffix = dialog.defaultSuffix();
        mode = dialog.fileMode();
        // Typed into the file name box, as a user would: selectFile() depends
        // on the dialog's folder listing, which loads on a thread of its own.
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (name != nullptr) name->setText(QString::fromStdString(path));
        static_cast<QDialog&>(dialog).accept();
        if (dialog.isVisible()) dialog.reject();  // not taken: the checks below tell
    });
    mWindow->fileMenu().mnuOpen->trigger();
    EXPECT_EQ(title, QStringLiteral("サウンドファイルの指定"));
    EXPECT_EQ(filters, kQtSoundFilters);
    EXPECT_EQ(selectedFilter, kQtSoundFilters.first());
    EXPECT_EQ(suffix, QStringLiteral("wav"));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    EXPECT_EQ(mWindow->lblFile(), "chosen.wav");
    EXPECT_NE(mEngine->playState(), lirabox::media::kPlaying);
}

TEST_F(MainWindowTest, ACancelledOpenDialogLoadsNothing) {
    whenModalShows([](QWidget& modal) { static_cast<QDialog&>(dynamic_cast<QFileDialog&>(modal)).reject(); });
    control<QPushButton>("cmdOpen").click();
    EXPECT_EQ(mWindow->lblFile(), "ファイルがありません");
    EXPECT_TRUE(mEngine->currentMedia().name().empty());
}

// ---------------------------------------------------------------------------
// Drops

TEST_F(MainWindowTest, EveryListedControlAndTheWindowTakeAFileDrop) {
    const std::string path = recording("dropped.wav", 3);
    const auto data = files({path});
    for (const char* name : {"lblTimeNow",
                             "lblFile",
                             "seekbk",
                             "seekpoint",
                             "volbk",
                             "picArrow",
                             "cmdPlay",
                             "cmdStop",
                             "cmdOpen",
                             "cmdRewind",
                             "cmdForward",
                             "Label1",
                             "Label2",
                             "cboSpeed",
                             "chkUseKey",
                             "chkOnTop",
                             "client"}) {
        mWindow->setLblFile("-");
        QWidget& target = std::string(name) == "client" ? static_cast<QWidget&>(*mWindow) : control(name);
        EXPECT_TRUE(dragEnter(target, *data)) << name;
        EXPECT_TRUE(drop(target, *data)) << name;
        EXPECT_TRUE(processEventsUntil([&] { return mWindow->lblFile() == "dropped.wav"; })) << name;
    }
}

TEST_F(MainWindowTest, OnlyTheFirstOfSeveralDroppedFilesIsLoaded) {
    const auto data = files({recording("first.wav", 2), recording("second.wav", 2), recording("third.wav", 2)});
    ASSERT_TRUE(drop(control("lblFile"), *data));
    ASSERT_TRUE(processEventsUntil([&] { return mWindow->lblFile() != "ファイルがありません"; }));
    EXPECT_EQ(mWindow->lblFile(), "first.wav");
    EXPECT_EQ(mEngine->currentMedia().name(), "first.wav");
}

TEST_F(MainWindowTest, DropsAreTakenAsCopiesSoTheFileManagerKeepsTheFile) {
    const auto data = files({recording("kept.wav", 2)});
    Qt::DropAction action = Qt::IgnoreAction;
    ASSERT_TRUE(dragEnter(control("cmdPlay"), *data, &action));
    EXPECT_EQ(action, Qt::CopyAction);
}

TEST_F(MainWindowTest, ADragWithoutFilesIsRefusedAndChangesNothing) {
    QMimeData text;
    text.setText(QStringLiteral("/some/path.wav"));
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/talk.wav"))});
    for (const QMimeData* data : {&text, &web}) {
        EXPECT_FALSE(dragEnter(control("lblFile"), *data));
        EXPECT_FALSE(drop(control("lblFile"), *data));
        EXPECT_FALSE(dragEnter(*mWindow, *data));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(mWindow->lblFile(), "ファイルがありません");
    EXPECT_TRUE(mEngine->currentMedia().name().empty());
}

TEST_F(MainWindowTest, TheStripTheSpeedButtonsAndTheMenuBarTakeNoDrops) {
    const auto data = files({recording("refused.wav", 2)});
    for (QWidget* target : {&control("StatusBar1"),
                            &control("cmdSpeed0"),
                            &control("cmdSpeed1"),
                            static_cast<QWidget*>(mWindow->menuBar())}) {
        EXPECT_FALSE(dragEnter(*target, *data)) << target->objectName().toStdString();
        EXPECT_FALSE(drop(*target, *data)) << target->objectName().toStdString();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(mWindow->lblFile(), "ファイルがありません");
}

TEST_F(MainWindowTest, ABrokenDroppedFileShowsTheErrorAndTheNextDropWorks) {
    const fs::path empty = mTemp.file("empty.wav");
    std::ofstream(empty).close();
    const fs::path noise = mTemp.file("noise.mp3");
    std::ofstream out(noise, std::ios::binary);
    for (int i = 0; i < 64 * 1024; ++i) out.put(static_cast<char>((i * 7919 + 13) % 251));
    out.close();
    for (const std::string& bad : {mTemp.fileText("missing.wav"), empty.string(), noise.string()}) {
        auto seen = answerNextMessage();
        ASSERT_TRUE(drop(control("cmdPlay"), *files({bad})));
        ASSERT_TRUE(processEventsUntil([&] { return !seen->title.isEmpty(); })) << bad;
        EXPECT_EQ(seen->title, QStringLiteral("Lirabox"));
        EXPECT_EQ(seen->icon, QMessageBox::Critical);
        EXPECT_TRUE(seen->text.startsWith(QStringLiteral("エラーが発生しました。\nErrCode = ")))
            << seen->text.toStdString();
    }
    ASSERT_TRUE(drop(control("cmdPlay"), *files({recording("good.wav", 3)})));
    ASSERT_TRUE(processEventsUntil([&] { return mEngine->currentMedia().name() == "good.wav"; }));
    EXPECT_EQ(mWindow->lblFile(), "good.wav");
    control<QPushButton>("cmdPlay").click();
    EXPECT_EQ(mEngine->playState(), lirabox::media::kPlaying);
}

// ---------------------------------------------------------------------------
// The View and Help menus, Alt+Enter and the one-line window

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

QWidget& oneLine(MainWindow& window) {
    QWidget* oneLineWindow = window.oneLineWindow();
    if (oneLineWindow == nullptr) throw std::runtime_error("no one-line window");
    return *oneLineWindow;
}

QLabel& lblMain(MainWindow& window) { return *oneLine(window).findChild<QLabel*>(QStringLiteral("lblMain")); }

TEST_F(MainWindowTest, TheMenusCarryTheirCaptionsInOrderAndThePopupIsNotInTheBar) {
    QStringList bar;
    for (const QAction* menu : mWindow->menuBar()->actions()) bar << menu->text();
    EXPECT_EQ(bar, (QStringList {"ファイル", "設定", "表示", "ヘルプ"}));
    EXPECT_EQ(captions(*mWindow->viewMenu().mnuETC), (QStringList {"常に手前に表示", "1行モード          Alt+Enter"}));
    EXPECT_EQ(captions(*mWindow->helpMenu().mnuHelp), (QStringList {"目次", "-", "バージョン情報"}));
    EXPECT_EQ(captions(*mWindow->oneLinePopup().mnuSub), (QStringList {"フルモード", "常に手前に表示", "-", "終了"}));
    EXPECT_TRUE(mWindow->viewMenu().mnuToLineMode->shortcut().isEmpty());
}

TEST_F(MainWindowTest, F10AndAltLettersOpenTheMenusAndTabReachesOnlyVisibleControls) {
    mWindow->show();
    QApplication::setActiveWindow(mWindow.get());
    ASSERT_TRUE(processEventsUntil([&] { return QApplication::activeWindow() == mWindow.get(); }));
    QMenuBar& bar = *mWindow->menuBar();
    const auto opens = [&](int key, Qt::KeyboardModifiers modifiers, QAction* menu) {
        QTest::keyClick(mWindow.get(), static_cast<Qt::Key>(key), modifiers);
        const bool open = processEventsUntil([&] { return bar.activeAction() == menu && menu->menu()->isVisible(); });
        QTest::keyClick(menu->menu(), Qt::Key_Escape);
        QTest::keyClick(&bar, Qt::Key_Escape);
        processEventsUntil([&] { return !menu->menu()->isVisible(); });
        return open;
    };
    const QList<QAction*> menus = bar.actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_TRUE(opens(Qt::Key_F10, Qt::NoModifier, menus[0]));
    EXPECT_TRUE(opens(Qt::Key_F, Qt::AltModifier, menus[0]));
    EXPECT_TRUE(opens(Qt::Key_S, Qt::AltModifier, menus[1]));
    EXPECT_TRUE(opens(Qt::Key_V, Qt::AltModifier, menus[2]));
    EXPECT_TRUE(opens(Qt::Key_H, Qt::AltModifier, menus[3]));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("設定"));  // the captions keep their text

    // The focus goes round the window's controls and never lands outside its visible area.
    const QRect visible = mWindow->rect();
    QWidget* start = &control("cmdPlay");
    start->setFocus(Qt::TabFocusReason);
    QWidget* focus = start;
    for (int step = 0; step < 20; ++step) {
        focus = focus->nextInFocusChain();
        if (!(focus->focusPolicy() & Qt::TabFocus) || !focus->isVisibleTo(mWindow.get())) continue;
        const QRect place(focus->mapTo(mWindow.get(), QPoint(0, 0)), focus->size());
        EXPECT_TRUE(visible.contains(place.center())) << focus->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, TheCheckBoxAndEitherMenuItemKeepBothMarksInStep) {
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

TEST_F(MainWindowTest, AScreenReadersToggleOfEitherCheckBoxIsAClick) {
    const auto toggle = [this](const char* name) {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&control<QCheckBox>(name));
        ASSERT_NE(box, nullptr);
        ASSERT_NE(box->actionInterface(), nullptr);
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    mKeytap.calls.clear();
    toggle("chkUseKey");
    EXPECT_EQ(mWindow->chkUseKey(), 0);
    EXPECT_EQ(mKeytap.calls, std::vector<std::string> {"TerminateHook"});
    toggle("chkOnTop");
    EXPECT_TRUE(mWindow->viewMenu().mnuSetOnTop->isChecked());
    EXPECT_TRUE(mWindow->oneLinePopup().mnuSetOnTopSub->isChecked());
}

TEST_F(MainWindowTest, AltEnterOnAnyControlSwitchesToTheOneLineWindowAndBack) {
    auto& speed = *mWindow->findChild<QComboBox*>(QStringLiteral("cboSpeed"));
    speed.setFocus();
    pressKey(speed, Qt::Key_Return, Qt::AltModifier | Qt::ControlModifier);
    pressKey(speed, Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(mWindow->oneLineWindow(), nullptr);
    pressKey(speed, Qt::Key_Return, Qt::AltModifier);
    ASSERT_NE(mWindow->oneLineWindow(), nullptr);
    EXPECT_FALSE(mWindow->isVisible());
    EXPECT_TRUE(oneLine(*mWindow).isVisible());
    EXPECT_EQ(oneLine(*mWindow).windowTitle(), "Lirabox");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&oneLine(*mWindow))->role(), QAccessible::Window);
    EXPECT_EQ(oneLine(*mWindow).size(), QSize(303, 17));  // 4545 x 255 twips at 96 dpi
    EXPECT_EQ(lblMain(*mWindow).geometry(), QRect(0, 0, 302, 16));
    EXPECT_FALSE(oneLine(*mWindow).windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(oneLine(*mWindow).parentWidget(), mWindow.get());

    pressKey(oneLine(*mWindow), Qt::Key_Enter, Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_TRUE(oneLine(*mWindow).isVisible());
    QPointer<QWidget> first = &oneLine(*mWindow);
    pressKey(oneLine(*mWindow), Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_TRUE(mWindow->isVisible());
    EXPECT_TRUE(processEventsUntil([&] { return first.isNull(); })) << "the one-line window was not destroyed";
}

TEST_F(MainWindowTest, TheOneLineWindowFollowsTheLabelsPopsUpItsMenusAndTakesDrops) {
    mForm->runCommand(lirabox::Command::OneLineMode);
    EXPECT_TRUE(
        processEventsUntil([&] { return lblMain(*mWindow).text() == "00:00:00 / 00:00:00    ファイルがありません"; }));

    pressMouse(lblMain(*mWindow), QPoint(20, 8), Qt::RightButton);
    EXPECT_EQ(QApplication::activePopupWidget(), mWindow->oneLinePopup().mnuSub);
    mWindow->oneLinePopup().mnuSub->hide();
    pressMouse(oneLine(*mWindow), QPoint(302, 16), Qt::RightButton);  // the strip at the bottom right
    EXPECT_EQ(QApplication::activePopupWidget(), mWindow->viewMenu().mnuETC);
    mWindow->viewMenu().mnuToLineMode->trigger();
    mWindow->viewMenu().mnuETC->hide();
    EXPECT_FALSE(mWindow->isVisible());
    ASSERT_NE(mWindow->oneLineWindow(), nullptr);

    const fs::path recording = mTemp.file("dictation.wav");
    lirabox::test::writeSineWav(recording, 5, 440.0, 8000, 1);
    ASSERT_TRUE(drop(lblMain(*mWindow), *files({recording.string()})));
    EXPECT_TRUE(processEventsUntil([&] { return lblMain(*mWindow).text() == "00:00:00 / 00:00:05    dictation.wav"; }))
        << lblMain(*mWindow).text().toStdString();
    EXPECT_NE(mEngine->playState(), lirabox::media::kPlaying);
}

// A long file name keeps both its ends in sight: elided in the middle with
// "…" in the main window and the one-line window, the whole name as tooltip.
TEST_F(MainWindowTest, ALongFileNameIsElidedInTheMiddleWithTheWholeNameAsTooltip) {
    const fs::path recording = mTemp.file("2026-12-08 インタビュー 第三回 市民会館 午後の部 後半 録音 完全版.wav");
    lirabox::test::writeSineWav(recording, 5, 440.0, 8000, 1);
    const QString name = QString::fromStdString(recording.filename().string());
    mForm->fileOpen(recording.string());
    const auto elidedWithin = [&](const QLabel& label, const QString& lead) {
        const QString shown = label.text();
        return shown.startsWith(lead + name.left(3)) && shown.endsWith(QStringLiteral(".wav")) &&
               shown.contains(QChar(0x2026)) && label.fontMetrics().horizontalAdvance(shown) <= label.width() &&
               label.toolTip() == name;
    };
    const auto& fileLabel = control<QLabel>("lblFile");
    EXPECT_TRUE(elidedWithin(fileLabel, {})) << fileLabel.text().toStdString();
    EXPECT_EQ(mWindow->lblFile(), name.toStdString());

    mForm->runCommand(lirabox::Command::OneLineMode);
    EXPECT_TRUE(processEventsUntil([&] {
        return elidedWithin(lblMain(*mWindow), QStringLiteral("00:00:00 / 00:00:05    "));
    })) << lblMain(*mWindow).text().toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
