#pragma once
// The settings dialog's behaviour: the playback tab's three step lengths,
// time stamp form, resume box and levelling, the shortcut-key tab's ten rows, the tab and caption, Apply and the dialog's
// own top-most state. The Qt dialog shows what this class holds and forwards
// its controls' events here.
//
// Fields are filled only by Form_Load; hiding and showing keep what they hold.
// While a key box has the keyboard focus the global keys rest, so that every
// key, a registered one included, reaches the box.

#include "KeyCapture.h"
#include "KeyCodeToName.h"
#include "keytap/Keytap.h"
#include "player/PedalMapping.h"
#include "player/SettingsDialogSeam.h"
#include "player/ShortcutKeyPorts.h"
#include "player/TimeStamp.h"
#include "support/DesktopServices.h"
#include "support/UiText.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lirabox {
class clsIniFile;
class frmMain;
}  // namespace lirabox

namespace lirabox::settings {

enum class StepBox { AutRev, RevTime, FowTime };

// How the focus left a key box: by Tab, by Shift+Tab, or otherwise (a click,
// the dialog moving it, another window).
enum class LeftBy { Tab, ShiftTab, Other };

inline constexpr int kRows = 10;
// The focus target after the last row: the OK button.
inline constexpr int kOkButton = kRows;

// The suggested key of each row, in row order: play/pause F9, stop F4, speed
// up F6, speed down F5, fast-forward F8, rewind F7, repeat start F11, repeat
// end F12, time stamp F2; none (0) for the jump to a time stamp. F10 stays
// free: it opens the main window's menus.
inline constexpr std::array<std::int32_t, kRows> kSuggestedKeys {120, 115, 117, 116, 119, 118, 122, 123, 113, 0};

// A step box holds at most this many digits; Apply keeps a value to 32767.
inline constexpr std::size_t kStepDigits = 5;

class frmSettings {
public:
    struct Collaborators {
        frmMain& main;
        std::uintptr_t mainWindow;
        KeytapApi& keytap;
        MainWindowSubclass& subclass;
        std::shared_ptr<DesktopServices> desktop;
        // The active layout's key legends; empty: the table's names.
        KeyLegend keyLegend = {};
    };

    explicit frmSettings(Collaborators parts);
    ~frmSettings();
    frmSettings(const frmSettings&) = delete;
    frmSettings& operator=(const frmSettings&) = delete;

    // Loading: the step boxes from the main window, the rows from "config.ini".
    // dialogWindow is the dialog's native window, for its top-most state. A
    // new dialog shows the shortcut-key tab.
    void Form_Load(std::uintptr_t dialogWindow);
    // At the main window's shut-down: the hook and the key-message handling
    // go, the top-most state is turned off.
    void Form_Unload();
    bool isLoaded() const { return mLoaded; }

    // The selected tab and the caption that follows it.
    void SSTab1_Click(SettingsTab tab);
    SettingsTab tab() const { return mTab; }
    UiText caption() const;

    // A step box's text: what is typed keeps its digits only, at most kStepDigits.
    const std::string& stepText(StepBox box) const;
    void setStepText(StepBox box, std::string_view typed);

    // The foot pedal tab: each pedal's action as an index into pedalChoices().
    std::size_t pedalChoice(Pedal pedal) const;
    void setPedalChoice(Pedal pedal, std::size_t choice);

    // The time stamp's form, as chosen in the list; Apply saves it when it changed.
    TimeStampFormat timeStampFormat() const { return mTimeStampFormat; }
    void cboTimeStampFormat_Click(TimeStampFormat format) { mTimeStampFormat = format; }
    // Whether a recording resumes where it was left; Apply saves it when it changed.
    bool resumeChecked() const { return mResume; }
    void chkResume_Click(bool checked) { mResume = checked; }

    // Levelling of quiet and loud voices, as checked; Apply saves it when it changed.
    bool evenLoudness() const { return mEvenLoudness; }
    void chkEvenLoudness_Click(bool checked) { mEvenLoudness = checked; }

    // Apply: the three step lengths, the time stamp's form, resuming, levelling
    // and the pedals' actions, then the rows saved and registered (the later rows
    // only once they hold a key).
    // Every step runs; the number of the first failure (a file that could not
    // be written) is returned, nothing when all went well.
    std::optional<std::int32_t> cmdSave_Click();

    void chkTopMost_Click(bool checked);
    bool topMost() const { return mTopMost; }

    // The shortcut-key rows. Focus targets are rows 0..9 and kOkButton;
    // nothing means the focus stays (or goes where the platform takes it).
    const std::string& keyText(int row) const;
    const ShortcutKeyRecord& shortcutKey(int row) const;
    // The discard box: 0 clear, 1 checked, 2 grey for a stored value other than 0, 1 or -1.
    int discardValue(int row) const;
    std::optional<int> txtShortcutKey_KeyDown(int row, CapturedKey key);
    std::optional<int> txtShortcutKey_LostFocus(int row, LeftBy how);
    void chkDestructionKeyCode_Click(int row, bool checked);
    // The suggested keys: every empty row gets its function key of
    // kSuggestedKeys with discard on, unless another row holds that key
    // already. Rows that hold a key stay as they are; nothing is saved before Apply.
    void cmdSuggestedKeys_Click();

    // The 500 ms duplicate check: two rows with the same key and modifier
    // code, empty rows left out; the message line's state.
    void tmrInputChecker_Timer();
    bool duplicateShown() const { return mDuplicate; }
    UiText messageText() const;

    // How keys reach the program (KeytapApi::route()), as one line: caption,
    // then the watcher, the desktop's shortcuts, or "off" and the reason.
    std::string keyRouteText();
    // Desktop shortcuts: the key the desktop gave the row, as it describes it;
    // empty otherwise.
    std::string desktopKeyText(int row);
    // Whether the desktop's shortcuts take the keys, so the discard boxes can
    // do nothing: they are shown disabled with kDiscardByDesktop, and their
    // stored values stay as they are.
    bool keysByDesktop();

    // Whether a key box has the keyboard focus; the global keys rest while it has.
    void keyBoxFocusChanged(bool inKeyBox);

private:
    ShortcutKeyRecord LoadShortcutKey(int row);
    void ShowShortcutKey(int row, const ShortcutKeyRecord& record);
    void SaveShortcutKeys(std::optional<std::int32_t>& failure);
    void applyStep(StepBox box, std::int16_t fallback, void (frmMain::*set)(std::int16_t),
                   std::optional<std::int32_t>& failure);
    void setTopMostState(bool above);
    static std::optional<int> nextFocus(int row);
    std::string keyName(std::int32_t keyCode, std::int32_t shift) const;

    frmMain& mMain;
    std::uintptr_t mMainWindow;
    KeytapApi& mKeytap;
    MainWindowSubclass& mSubclass;
    std::shared_ptr<DesktopServices> mDesktop;
    KeyLegend mKeyLegend;

    bool mLoaded = false;
    std::uintptr_t mWindow = 0;
    std::shared_ptr<clsIniFile> mConfigIni;
    SettingsTab mTab = SettingsTab::ShortcutKeys;
    std::array<std::string, 3> mStepTexts;
    PedalMapping mPedals = defaultPedalMapping();
    TimeStampFormat mTimeStampFormat = TimeStampFormat::Bracketed;
    bool mResume = false;
    bool mEvenLoudness = false;
    std::array<ShortcutKeyRecord, kRows> mShortcutKeys {};
    std::array<std::string, kRows> mKeyTexts;
    bool mDuplicate = false;
    bool mTopMost = false;
    bool mKeyBoxFocused = false;
};

}  // namespace lirabox::settings
