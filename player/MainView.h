#pragma once
// Everything the player's behaviour asks of its main window. The Qt window
// implements it; tests use a fake.
//
// Notifications: the view never calls back into frmMain for a change frmMain
// made itself. Where a control would raise its notification on a change made
// by code (selecting a speed-list item, setting the shortcut check box), frmMain
// runs its own handler right after asking the view for the change. The window
// therefore connects only user-driven signals to frmMain's handlers, e.g.
// QComboBox::activated -> frmMain::cboSpeed_Click and
// QCheckBox::clicked -> frmMain::chkUseKey_Click.

#include <cstdint>
#include <optional>
#include <string>

namespace lirabox {

enum class MessageIcon {
    None,
    Critical,  // the error icon
    Information,
};

// Which window takes the focus after a file is loaded.
enum class ShownWindow {
    Main,
    OneLine,
};

// The Open dialog as the player configures it.
struct OpenDialogRequest {
    std::string title;
    // Pairs of description and patterns separated by "|", e.g.
    // "Sound (*.wav)|*.wav|All (*)|*". Patterns within one entry are separated by ";".
    std::string filter;
    std::string defaultExtension;  // without the dot
    // 0x4 hide read-only box, 0x800 path must exist, 0x1000 file must exist.
    std::int32_t flags = 0;
};

class MainView {
public:
    virtual ~MainView() = default;

    // The time label lblTimeNow and the file-name label lblFile.
    virtual std::string lblTimeNow() const = 0;
    virtual void setLblTimeNow(const std::string& text) = 0;
    virtual std::string lblFile() const = 0;
    virtual void setLblFile(const std::string& text) = 0;

    // The speed list cboSpeed. Selecting an item shows it; it raises nothing.
    virtual void cboSpeedClear() = 0;
    virtual void cboSpeedAddItem(const std::string& text) = 0;
    virtual void cboSpeedSetListIndex(int index) = 0;
    // The list's text: the selected item, or what setCboSpeedText last showed.
    virtual std::string cboSpeedText() const = 0;
    virtual void setCboSpeedText(const std::string& text) = 0;

    // The shortcut-key check box: 0 unchecked, 1 checked, 2 grey.
    // Setting it raises nothing.
    virtual int chkUseKey() const = 0;
    virtual void setChkUseKey(int value) = 0;

    // The position tick (100 ms). While enabled, the window calls
    // frmMain::Timer2_Timer every 100 ms.
    virtual bool Timer2Enabled() const = 0;
    virtual void setTimer2Enabled(bool enabled) = 0;

    // Lets the window handle the events that are waiting, once.
    virtual void DoEvents() = 0;

    // A message box with an OK button; returns when it is dismissed.
    virtual void MsgBox(const std::string& text, MessageIcon icon, const std::string& title) = 0;

    // The Open dialog, modal to the main window; the chosen path, or nothing
    // when the user cancelled.
    virtual std::optional<std::string> showOpenDialog(const OpenDialogRequest& request) = 0;

    // The go-to-time dialog, modal to the main window, its box holding `text`
    // to begin with; what the user entered, or nothing when they cancelled.
    virtual std::optional<std::string> showGoToTimeDialog(const std::string& text) = 0;

    // Brings the main window or the one-line window to the front (out of the
    // task bar when minimised) and gives it the keyboard focus.
    virtual void SetFocusTo(ShownWindow window) = 0;

    // The repeat line along the seek bar; coordinates in the bar's 0..7185 twips.
    virtual void setRepeatIntervalX1(double twips) = 0;
    virtual void setRepeatIntervalX2(double twips) = 0;

    // The path the help menu opens.
    virtual void setHelpFile(const std::string& path) = 0;

    // Sets the window's icon to the picture held by Picture1.
    virtual void setIconFromPicture1() = 0;

    // The native id of the main window (the X window id on X11).
    virtual std::uintptr_t WindowHandle() const = 0;

    // Closes the main window; the window then runs frmMain::Form_Unload.
    virtual void closeMainWindow() = 0;
};

}  // namespace lirabox
