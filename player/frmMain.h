#pragma once
// The main window's behaviour: start-up and shut-down, the transport commands,
// the position tick, file opening, the picture sliders and the shortcut-key
// switch. The Qt window only forwards its controls' events and timers here.
//
// Every input names a Command and calls runCommand; listeners hear what the
// player did. Handlers (runCommand, …_Click, …_Mouse…, Timer2_Timer,
// OLEDragDrop, KeyMessage) never throw: a failing command leaves the player as it is.

#include "Command.h"
#include "MainView.h"
#include "PedalMapping.h"
#include "PlayerListener.h"
#include "RecordingHistory.h"
#include "RunningCopy.h"
#include "SelectionReader.h"
#include "SettingsDialogSeam.h"
#include "ShortcutKeyPorts.h"
#include "SingleInstance.h"
#include "SliderPicture.h"
#include "TextTyper.h"
#include "TimeStamp.h"
#include "Timepost.h"
#include "clsPicSlider.h"
#include "keytap/Keytap.h"
#include "player/media/MediaEngine.h"
#include "support/RaisedError.h"
#include "support/WindowServices.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lirabox {

class MenuHandlers;
class clsCommonUtil;
class clsIniFile;
class clsWinPlacement;

class frmMain {
public:
    struct Collaborators {
        media::MediaEngine& engine;
        MainView& view;
        SliderPicture& seekbk;     // seek bar
        SliderPicture& seekpoint;  // its arrow
        SliderPicture& volbk;      // volume bar
        SliderPicture& picArrow;   // its arrow
        // Null: the window's placement is neither restored nor saved.
        WindowServices* windowServices;
        TimepostSink& timepost;
        InstanceGuard& instanceGuard;
        KeytapApi& keytap;
        MainWindowSubclass& subclass;
        // Null: there is no settings dialog to close at shut-down.
        SettingsDialogSeam* settingsDialog;
    };

    // The title of message boxes and the window's caption.
    static constexpr const char* kTitle = "Lirabox";
    // The text of the error message box: "エラーが発生しました。", CR LF, "ErrCode = " and the number.
    static std::string ErrorMessageText(std::int32_t number);

    explicit frmMain(Collaborators parts);
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    void setSettingsDialog(SettingsDialogSeam* dialog) { mSettingsDialog = dialog; }
    // The handlers of the view and help commands; without them those commands
    // do nothing and Quit only closes the main window.
    void setMenuHandlers(MenuHandlers* menus) { mMenus = menus; }
    // Where the time stamp command types; without one the command does nothing.
    void setTextTyper(TextTyper* typer) { mTextTyper = typer; }
    // Where a second start hands its recording; without one it is refused.
    void setRunningCopy(RunningCopy* copy) { mRunningCopy = copy; }
    // What the jump-to-time-stamp command reads; without one it does nothing.
    void setSelectionReader(SelectionReader* reader) { mSelectionReader = reader; }

    // Start-up. argumentText is the program's arguments joined by single
    // spaces, exactly as received. Returns false for a second instance, which
    // must end at once, without Form_Unload: one that named a recording has
    // handed it to the running copy (handedOver()); otherwise, or when the
    // running copy did not take it, the message has been shown and dismissed.
    bool Form_Load(const std::string& argumentText);
    bool handedOver() const { return mHandedOver; }
    // Shut-down, when the main window closes.
    void Form_Unload();

    // Transport commands.
    void PPFunc();
    void PlayFunc();
    void PauseFunc();
    void StopFunc();
    void RewindFunc();
    void ForwardFunc();
    // SpeedFunc's directions.
    static constexpr std::int16_t kSpeedFaster = 0;
    static constexpr std::int16_t kSpeedSlower = 1;
    void SpeedFunc(std::int16_t direction);
    void setRepeatStartFunc();
    void setRepeatEndFunc();

    // Step lengths in seconds; setting one saves it to "UserCfg.ini" first
    // (a failed write raises and leaves the value unchanged).
    std::int16_t rewind_time() const { return mRewindTime; }
    void set_rewind_time(std::int16_t seconds);
    std::int16_t forward_time() const { return mForwardTime; }
    void set_forward_time(std::int16_t seconds);
    std::int16_t autorev_time() const { return mAutorevTime; }
    void set_autorev_time(std::int16_t seconds);
    // What each foot pedal does; setting it saves it to "UserCfg.ini" first,
    // the same way.
    const PedalMapping& pedal_mapping() const { return mPedalMapping; }
    void set_pedal_mapping(const PedalMapping& mapping);
    // The form of the time stamp; setting it saves it to "UserCfg.ini" first,
    // as the step lengths do.
    TimeStampFormat timestamp_format() const { return mTimeStampFormat; }
    void set_timestamp_format(TimeStampFormat format);
    // Whether the engine evens out quiet and loud voices; setting it saves it
    // to "UserCfg.ini" first, as the step lengths do, then tells the engine.
    bool even_loudness() const { return mEvenLoudness; }
    void set_even_loudness(bool on);
    // Types the playing position into the focused window; nothing without a recording.
    void insertTimeStampFunc();
    // Whether a recording opened without a start second starts where it was
    // left; setting it saves it to "UserCfg.ini" first, as the step lengths do.
    bool resume_position() const { return mResume; }
    void set_resume_position(bool resume);

    // Moves to a time, clamped to the recording, playing or not, as the seek
    // bar does; nothing without a recording.
    void goToTime(double seconds);
    // The go-to-time dialog until it is cancelled or holds a time
    // (parseTimeEntry); a text that is none is refused with a message.
    void goToTimeFunc();
    // Reads the selection and moves to the first time stamp in it
    // (findTimeStamp); without one nothing moves.
    void goToSelectionFunc();

    // The recordings opened lately, most recent first, for the File menu.
    struct RecentRecording {
        std::string path;
        bool exists = false;  // a file is there now
    };
    static constexpr std::size_t kRecentShown = 8;
    std::vector<RecentRecording> recentRecordings() const;
    // Opens one of them as the Open dialog's choice would be; one that is no
    // longer there gives the load's error message and leaves the list.
    void openRecent(const std::string& path);

    // File opening. The recording is loaded stopped, at 0 or, when
    // resume_position() is on, where it was left. A file that cannot be
    // opened leaves the loaded recording as it was; fileOpen and
    // playCommandLineFile report the failure in a message box that names the
    // file and says why (LoadFailureText.h), openFile throws it (RaisedError)
    // to a caller that reports it its own way.
    void fileOpen(const std::string& path);
    void openFile(const std::string& path);
    // Without a start second the recording starts at 0, or where it was left
    // when resume_position() is on.
    void playCommandLineFile(const std::string& path, std::optional<std::int32_t> start);
    // The recording a second start handed over (start: RunningCopy::kNoStart
    // when it gave none): opened and played as from the command line, and the
    // shown window comes to the front.
    void openHandedOver(const std::string& path, std::int32_t start);

    // Runs one user command: the one entry point of buttons, menu items and keys.
    void runCommand(Command command);

    // For outside controls (the desktop's media-player interface): sets the
    // rate and shows it in the speed list, and moves to an exact position.
    // Neither throws.
    void setPlayRate(double rate);
    void seekTo(double seconds);

    // Listeners are told of every change after it is made; a listener must be
    // removed before it is destroyed.
    void addListener(PlayerListener& listener);
    void removeListener(PlayerListener& listener);

    // Control handlers.
    void cmdOpen_Click();  // the Open dialog, then the load
    void cboSpeed_Click();
    void Timer2_Timer();
    // Checked: the keys on; cleared, or cleared by the player when the keys
    // cannot reach it (KeytapApi::route() says Off): the keys off.
    void chkUseKey_Click();

    // Slider arrows; x is the pointer's position within the arrow, in twips.
    void picArrow_MouseDown();
    void picArrow_MouseMove(double x);
    void picArrow_MouseUp();
    // The seek bar itself; x is measured from the bar's left edge.
    void seekbk_MouseDown(double x);
    void seekbk_MouseMove(double x);
    void seekbk_MouseUp();
    void seekpoint_MouseDown();
    void seekpoint_MouseMove(double x);
    void seekpoint_MouseUp();

    // Files dropped on the main window or the one-line window: the first is opened.
    void OLEDragDrop(const std::vector<std::string>& files);

    // Row index (0..9) of "config.ini" as a key record; raises when a stored
    // value is not a number.
    ShortcutKeyRecord LoadShortcutKey(int index);
    // The message the hook library posts: slot 0..9 runs its command, others nothing.
    void KeyMessage(std::int32_t slot);
    // While the settings dialog captures keys the global keys rest: suspending
    // takes the hook down, resuming switches the keys on again as the check
    // box does. Both do nothing while the box is not checked.
    void suspendShortcutKeys();
    void resumeShortcutKeys();

    // State for the window and the other views.
    double playRate() const { return mPlayRate; }
    std::int32_t repeatStart() const { return mRepeatStart; }
    std::int32_t repeatEnd() const { return mRepeatEnd; }
    bool fullMode() const { return mFullMode; }
    void setFullMode(bool full) { mFullMode = full; }
    clsPicSlider& volumeSlider() { return mPicSlider; }
    clsPicSlider& seekSlider() { return mPicSlider2; }
    std::shared_ptr<clsIniFile> configIni() const { return mConfigIni; }

private:
    void restorePlacement();
    std::int16_t readStepLength(std::string_view key, std::string_view defaultText);
    void fillSpeedList();
    void openCommandLine(const std::string& argumentText, const std::filesystem::path& startFolder);
    void applyRate();
    void setStepLength(std::int16_t& member, std::string_view key, std::int16_t seconds);
    void writeUserSetting(std::string_view key, const std::string& value);
    std::string positionText();
    void showSeekValue(double position);
    void showPosition();
    void publishWhileStill();
    void repeatStep();
    void loadStopped(const std::string& path);
    std::optional<RaisedError> loadSequence(const std::string& path, bool withFocus);
    void reportingLoadErrors(const std::string& path, const std::function<void()>& load) noexcept;
    void noteFailedLoad() noexcept;
    void mPicSlider_Change();
    void mPicSlider2_Change();
    void dragStep(clsPicSlider& slider, double x);
    void setChkUseKey(int value);
    void moveTo(double seconds);
    void notePlayState();
    void noteRepeatMarks();
    template <class Event, class... Args>
    void notify(Event event, const Args&... args);
    void switchShortcutKeysOn();
    void switchShortcutKeysOff();
    void uncheckKeysThatCannotWork();
    void openSettings(SettingsTab tab);
    void runMenuCommand(Command command);
    void openHistory();
    double resumePosition() const;
    void rememberPosition();
    void saveHistory();
    // Puts the recording first in the history (saved by the load's caller).
    void noteOpened(const std::string& path);

    media::MediaEngine& mEngine;
    MainView& mView;
    SliderPicture& mSeekbk;
    SliderPicture& mSeekpoint;
    SliderPicture& mVolbk;
    SliderPicture& mPicArrow;
    WindowServices* mWindowServices;
    TimepostSink& mTimepost;
    InstanceGuard& mInstanceGuard;
    KeytapApi& mKeytap;
    MainWindowSubclass& mSubclass;
    SettingsDialogSeam* mSettingsDialog;
    MenuHandlers* mMenus = nullptr;
    TextTyper* mTextTyper = nullptr;
    RunningCopy* mRunningCopy = nullptr;
    bool mHandedOver = false;
    SelectionReader* mSelectionReader = nullptr;

    std::shared_ptr<clsCommonUtil> mUtil;
    std::shared_ptr<clsIniFile> mPositionIni;
    std::shared_ptr<clsWinPlacement> mPlacement;
    std::shared_ptr<clsIniFile> mUserIni;
    std::shared_ptr<clsIniFile> mConfigIni;
    double mPlayRate = 1.0;
    std::int16_t mRewindTime = 0;
    std::int16_t mForwardTime = 0;
    std::int16_t mAutorevTime = 0;
    PedalMapping mPedalMapping = defaultPedalMapping();
    TimeStampFormat mTimeStampFormat = TimeStampFormat::Bracketed;
    bool mResume = false;
    std::unique_ptr<RecordingHistory> mHistory;
    // The loaded recording's full path, as the history knows it.
    std::string mRecordingPath;
    // Position ticks since the position was last saved.
    int mTicksSinceSave = 0;
    bool mEvenLoudness = false;
    clsPicSlider mPicSlider;
    clsPicSlider mPicSlider2;
    bool mFullMode = true;
    std::int32_t mRepeatStart = 0;
    std::int32_t mRepeatEnd = 0;
    // The seek arrow is only being shown at the position: its Change must not seek.
    bool mShowingPosition = false;

    std::vector<PlayerListener*> mListeners;
    // What listeners were last told, so that only changes are reported.
    bool mReportedPlaying = false;
    double mReportedRate = 1.0;
};

}  // namespace lirabox
