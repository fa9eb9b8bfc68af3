#pragma once
// The main window frmMain as a native Win32 window: its controls at their
// twips places scaled to the monitor's DPI, the menus with the File menu's
// accelerators, Alt+Enter, the one-line window and the position tick Timer2. What the controls do is
// frmMain's: this class only shows what frmMain asks (MainView,
// WindowModeView) and forwards the controls' notifications to its handlers.

#include "DrawnSlider.h"
#include "HandOver.h"
#include "KeysDuringLoad.h"
#include "app/win32/toolkit/WindowProcedure.h"
#include "player/CloseGate.h"
#include "player/MainView.h"
#include "player/PlayerListener.h"
#include "player/WindowModeView.h"

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

namespace lirabox {
class MenuHandlers;
class SeekEnvelope;
class frmMain;
}  // namespace lirabox

namespace lirabox::oneline::win32 {
class OneLineWindow;
}

namespace lirabox::win32 {

class MainWindow final : public MainView, public WindowModeView, public PlayerListener {
public:
    // The window's class name: the program's copies and tests find it by it.
    static constexpr const wchar_t* kClassName = L"LiraboxMain";

    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    SliderPicture& seekbk() { return mSeek.bar(); }
    SliderPicture& seekpoint() { return mSeek.arrow(); }
    SliderPicture& volbk() { return mVolume.bar(); }
    SliderPicture& picArrow() { return mVolume.arrow(); }

    // The controls' notifications go to the form and the menu handlers from now on.
    void connectTo(frmMain& form, MenuHandlers& menus);
    // Draws the envelope on the seek bar as it is measured, at the bar's width
    // in pixels. The envelope must outlive the window's message loop.
    void showEnvelope(SeekEnvelope& envelope);
    void show();
    // The message loop with the File menu's accelerators, until the window is
    // gone; a modeless dialog's keys go to the dialog first.
    int run();
    // One message as the loop handles it.
    void deliver(MSG& message);
    // While a file opens: the busy cursor, and a close put off until the hold ends.
    void holdClosing(bool hold);
    // Whether a close has been put off by the hold.
    bool closeRequested() const { return mCloseGate.closeRequested(); }
    // Keys held back during a load, handled from the message loop (after the
    // load is over) as they would have been when typed.
    void handOnKeys(std::vector<HeldKey> keys);

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
    bool Timer2Enabled() const override { return mTimer2Enabled; }
    void setTimer2Enabled(bool enabled) override;
    void DoEvents() override;
    void MsgBox(const std::string& text, MessageIcon icon, const std::string& title) override;
    std::optional<std::string> showOpenDialog(const OpenDialogRequest& request) override;
    std::optional<std::string> showGoToTimeDialog(const std::string& text) override;
    void SetFocusTo(ShownWindow window) override;
    void setRepeatIntervalX1(double twips) override;
    void setRepeatIntervalX2(double twips) override;
    void setHelpFile(const std::string& path) override { mHelpFile = path; }
    void setIconFromPicture1() override;
    std::uintptr_t WindowHandle() const override { return reinterpret_cast<std::uintptr_t>(mWindow); }
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

    // PlayerListener: the play button shows what a press does.
    void playingChanged(bool playing) override;

private:
    friend LRESULT CALLBACK windowProcedure<MainWindow>(HWND, UINT, WPARAM, LPARAM);
    void attach(HWND window) { mWindow = window; }
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void createMenu();
    void appendSettingsMenu();
    // The "表示" and "ヘルプ" menus at the end of the bar, and the one-line window's popup.
    void createViewAndHelpMenus();
    // The window sees a key before its controls do; true when it took the key.
    bool previewKey(const MSG& message);
    void createTooltips();
    // The file name in its label, elided in the middle where it is too long.
    void showFileName();
    void applyDpi(UINT dpi);
    // The window's font, or a smaller one where the text would not fit the control.
    HFONT fittedFont(HWND control, const std::wstring& sample, int extraWidth, UINT dpi);
    void onCommand(WORD id, WORD code);
    // The File menu's recent recordings, from the form's list as it is now.
    void fillRecentItems();
    void onClose();
    void handleHeldKeys();

    HINSTANCE mInstance;
    HWND mWindow = nullptr;
    HACCEL mAccelerators = nullptr;
    std::vector<HFONT> mFonts;
    std::wstring mFace;
    HWND mTooltips = nullptr;
    HMENU mMenu = nullptr;
    HMENU mMnuFile = nullptr;
    // Where the recent recordings' items begin in the File menu, how many
    // items they take now (their separator included) and the paths they open.
    UINT mRecentAt = 0;
    UINT mRecentItems = 0;
    std::vector<std::string> mRecentPaths;
    HMENU mMnuETC = nullptr;
    HMENU mMnuSub = nullptr;
    std::unique_ptr<oneline::win32::OneLineWindow> mOneLine;
    // A closed one-line window, deleted once the message that closed it is done.
    std::unique_ptr<oneline::win32::OneLineWindow> mClosedOneLine;
    // Recordings second starts handed over, opened once their messages are answered.
    std::vector<HandedOverRecording> mHandedOver;
    frmMain* mForm = nullptr;
    SeekEnvelope* mEnvelope = nullptr;
    MenuHandlers* mMenus = nullptr;
    bool mTimer2Enabled = false;
    bool mUnloaded = false;
    std::string mHelpFile;
    CloseGate mCloseGate;
    std::vector<HeldKey> mHeldKeys;
    HCURSOR mCursorBeforeHold = nullptr;
    double mRepeatX1 = 0;
    double mRepeatX2 = 0;
    DrawnSlider mSeek;
    DrawnSlider mVolume;

    HWND mLblTimeNow = nullptr;
    HWND mLblFile = nullptr;
    std::string mFileName;  // the label's whole text
    HWND mCmdPlay = nullptr;
    HWND mCmdStop = nullptr;
    HWND mCmdOpen = nullptr;
    HWND mCmdRewind = nullptr;
    HWND mCmdForward = nullptr;
    HWND mLabel1 = nullptr;
    HWND mLabel2 = nullptr;
    HWND mCboSpeed = nullptr;
    HWND mChkUseKey = nullptr;
    HWND mChkOnTop = nullptr;
};

}  // namespace lirabox::win32
