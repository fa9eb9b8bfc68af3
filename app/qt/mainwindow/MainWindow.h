#pragma once
// The main window frmMain as a Qt window: its controls at their twips places,
// the menus, the position tick Timer2 and file drops. What the controls do is
// frmMain's: this class only shows what frmMain asks (MainView, WindowModeView)
// and forwards the controls' events to its handlers.

#include <functional>
#include <memory>

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include "FileMenu.h"
#include "HelpMenu.h"
#include "PlayButton.h"
#include "SettingsMenu.h"
#include "ViewMenu.h"
#include "app/qt/toolkit/ElidedLabel.h"
#include "player/CloseGate.h"
#include "player/MainView.h"
#include "player/WindowModeView.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace lirabox {
class MenuHandlers;
class SeekEnvelope;
class frmMain;
}  // namespace lirabox

namespace lirabox::qt {

class DropFilter;
class PictureBox;
class SeekBarPicture;

class MainWindow : public QMainWindow, public MainView, public WindowModeView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Connects the controls, the menu, the timer and the drops to the form.
    void connectTo(frmMain& form);
    // Draws the envelope on the seek bar as it is measured, at the bar's width
    // in pixels. The envelope must outlive the window's event handling.
    void showEnvelope(SeekEnvelope& envelope);

    // The picture boxes the two sliders stand on.
    SeekBarPicture& seekbk() { return *mSeekbk; }
    PictureBox& seekpoint() { return *mSeekpoint; }
    PictureBox& volbk() { return *mVolbk; }
    PictureBox& picArrow() { return *mPicArrow; }

    const FileMenu& fileMenu() const { return mFileMenu; }
    // The dots per inch the twips are converted with.
    double dpi() const { return mDpi; }
    // Lays the window out again for a screen of this many dots per inch.
    void applyDpi(double dpi);

    // From here on, showing the window is put off until showLoaded(): a start
    // that ends during its load (a refused second instance) never shows it,
    // while its placement still lands exactly.
    void holdShowing() { mShowingHeld = true; }
    // Shows the window, in the state its placement gave it.
    void showLoaded();
    // A start whose recording is slow to open shows its window now, while the
    // load waits, rather than after it (nothing once the window has shown).
    void showHeldWindow() {
        if (mShowingHeld) showLoaded();
    }
    void setVisible(bool visible) override;

    // While held, closing the window is put off until the hold ends (a file
    // still opening); the close then comes from the event loop.
    void holdClosing(bool hold);
    // Whether a close has been put off by the hold.
    bool closeRequested() const { return mCloseGate.closeRequested(); }

    // The "表示" and "ヘルプ" menus and the one-line window's popup run their
    // commands through the form connectTo was given; the check box chkOnTop
    // and Alt+Enter go to the handlers, which show a late failure to open the
    // help through this window's event queue. (MainWindowModes.cpp)
    void connectMenus(MenuHandlers& menus);
    const ViewMenu& viewMenu() const { return mViewMenu; }
    const HelpMenu& helpMenu() const { return mHelpMenu; }
    const OneLinePopup& oneLinePopup() const { return mOneLinePopup; }

    // Makes the one-line window, with this window as its parent, each time
    // one-line mode begins.
    using OneLineWindowFactory = std::function<QWidget*(MainWindow& owner)>;
    void setOneLineWindowFactory(OneLineWindowFactory factory) { mOneLineFactory = std::move(factory); }
    // The one-line window, while it exists.
    QWidget* oneLineWindow() const { return mOneLineWindow; }

    // MainView
    std::string lblTimeNow() const override;
    void setLblTimeNow(const std::string& text) override;
    std::string lblFile() const override;
    void setLblFile(const std::string& text) override;
    void cboSpeedClear() override;
    void cboSpeedAddItem(const std::string& text) override;
    void cboSpeedSetListIndex(int index) override;
    std::string cboSpeedText() const override;
    void setCboSpeedText(const std::string& text) override;
    int chkUseKey() const override;
    void setChkUseKey(int value) override;
    bool Timer2Enabled() const override;
    void setTimer2Enabled(bool enabled) override;
    void DoEvents() override;
    void MsgBox(const std::string& text, MessageIcon icon, const std::string& title) override;
    std::optional<std::string> showOpenDialog(const OpenDialogRequest& request) override;
    std::optional<std::string> showGoToTimeDialog(const std::string& text) override;
    void SetFocusTo(ShownWindow window) override;
    void setRepeatIntervalX1(double twips) override;
    void setRepeatIntervalX2(double twips) override;
    void setHelpFile(const std::string& path) override;
    void setIconFromPicture1() override;
    std::uintptr_t WindowHandle() const override;
    void closeMainWindow() override;

    // WindowModeView
    int chkOnTop() const override;
    void setChkOnTop(int value) override;
    void setOnTopCheckMarks(bool checked) override;
    void setMainWindowVisible(bool visible) override;
    void loadOneLineWindow() override;
    void unloadOneLineWindow() override;
    std::uintptr_t oneLineWindowHandle() const override;
    std::string helpFile() const override { return mHelpFile; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void attachDrops();

    frmMain* mForm = nullptr;
    bool mUnloaded = false;
    bool mShowingHeld = false;
    CloseGate mCloseGate;
    double mDpi = 96;
    std::string mHelpFile;
    OneLineWindowFactory mOneLineFactory;
    QPointer<QWidget> mOneLineWindow;

    QWidget* mClient = nullptr;
    QLabel* mLblTimeNow = nullptr;
    ElidedLabel* mLblFile = nullptr;
    SeekBarPicture* mSeekbk = nullptr;
    PictureBox* mSeekpoint = nullptr;
    PictureBox* mVolbk = nullptr;
    PictureBox* mPicArrow = nullptr;
    QPushButton* mCmdPlay = nullptr;
    std::unique_ptr<PlayButton> mPlayButton;
    QPushButton* mCmdStop = nullptr;
    QPushButton* mCmdOpen = nullptr;
    QPushButton* mCmdRewind = nullptr;
    QPushButton* mCmdForward = nullptr;
    QPushButton* mCmdSpeedUp = nullptr;
    QPushButton* mCmdSpeedDown = nullptr;
    QLabel* mLabel1 = nullptr;
    QLabel* mLabel2 = nullptr;
    QComboBox* mCboSpeed = nullptr;
    QCheckBox* mChkUseKey = nullptr;
    QCheckBox* mChkOnTop = nullptr;
    QWidget* mStatusBar1 = nullptr;
    FileMenu mFileMenu;
    SettingsMenu mSettingsMenu;
    ViewMenu mViewMenu;
    HelpMenu mHelpMenu;
    OneLinePopup mOneLinePopup;
    QTimer mTimer2;
    DropFilter* mDropFilter = nullptr;
};

}  // namespace lirabox::qt
