#include "frmMain.h"

#include "CommandLine.h"
#include "FormLayout.h"
#include "LoadFailureText.h"
#include "MenuHandlers.h"
#include "ShortcutKeyRow.h"
#include "TimeEntry.h"
#include "TimeText.h"
#include "VolumeSlider.h"
#include "support/AppPaths.h"
#include "support/ConfigFiles.h"
#include "support/RaisedError.h"
#include "support/SkipOnFailure.h"
#include "support/UiText.h"
#include "support/Utf8Path.h"
#include "support/VbConvert.h"
#include "support/clsCommonUtil.h"
#include "support/clsIniFile.h"
#include "support/clsWinPlacement.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <system_error>

namespace lirabox {
namespace {

namespace cfg = config;

constexpr int kSpeedItems = 26;
constexpr int kSpeedItemOne = 20;
constexpr std::int32_t kOpenDialogFlags = 6148;
// Reported for a failure that carries no number of its own (the platform's
// "unspecified error").
constexpr std::int32_t kErrUnspecified = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t kErrInvalidCall = 5;
constexpr std::int32_t kErrObjectNotSet = 91;

// The messages and the open dialog's texts.
constexpr UiText kAlreadyRunning = LIRABOX_TEXT("frmMain", "既に起動しています。");
constexpr UiText kErrorOccurred = LIRABOX_TEXT("frmMain", "エラーが発生しました。\r\nErrCode = ");
constexpr UiText kOpenDialogTitle = LIRABOX_TEXT("frmMain", "サウンドファイルの指定");
// The open dialog's filter: name and patterns of each entry; only the names are shown.
struct FilterEntry {
    UiText name;
    const char* patterns;
};
constexpr FilterEntry kOpenFilter[] = {
    {LIRABOX_TEXT("frmMain", "音声ファイル(*.wav;*.mp3)"), "*.wav;*.mp3"},
    {LIRABOX_TEXT("frmMain", "WindowsMediaAudio(*.wma)"), "*.wma"},
    {LIRABOX_TEXT("frmMain", "全てのファイル(*)"), "*"},
    {LIRABOX_TEXT("frmMain", "その他の音声ファイル(*.m4a;*.aac;*.ogg;*.opus;*.flac)"),
     "*.m4a;*.aac;*.ogg;*.opus;*.flac"},
};
const char* const kInitialTimeText = "00:00:00 / 00:00:00";
constexpr UiText kNotATime =
    LIRABOX_TEXT("frmMain", "時間は hh:mm:ss、mm:ss、ss または hh:mm:ss.f の形で入力してください。");
// While playing, the position is saved this often (ticks of 100 ms: a minute).
constexpr int kTicksBetweenSaves = 600;

std::string str(std::string_view text) { return std::string(text); }

// The running copy has a working folder of its own: a path from the command
// line reaches it whole.
std::string absolutePath(const std::string& path, const std::filesystem::path& startFolder) {
    const std::filesystem::path file = pathFromUtf8(path);
    if (file.is_absolute() || startFolder.empty()) return path;
    return utf8FromPath((startFolder / file).lexically_normal());
}

bool isFile(const std::string& path) {
    std::error_code unknown;
    return std::filesystem::is_regular_file(pathFromUtf8(path), unknown);
}

// A handler's call that must not let a failure reach the window.
template <class Action>
void guarded(Action&& action) noexcept {
    runStep(std::forward<Action>(action));
}

// Runs its action when the scope is left, by a return or by an error.
template <class Action>
struct OnLeaving {
    Action action;
    ~OnLeaving() { guarded(action); }
};

// The repeat line's place for a mark: mark x kRepeatLineSpan / length. The product is
// formed in 64 bits, so long recordings cannot overflow it. Without a length
// the line goes to its unmarked end.
double markPlace(std::int32_t mark, double length, double unmarked) {
    if (!(length > 0)) return unmarked;
    return static_cast<double>(static_cast<std::int64_t>(mark) * static_cast<std::int64_t>(layout::kRepeatLineSpan)) /
           length;
}

}  // namespace

frmMain::frmMain(Collaborators parts)
    : mEngine(parts.engine), mView(parts.view), mSeekbk(parts.seekbk), mSeekpoint(parts.seekpoint), mVolbk(parts.volbk),
      mPicArrow(parts.picArrow), mWindowServices(parts.windowServices), mTimepost(parts.timepost),
      mInstanceGuard(parts.instanceGuard), mKeytap(parts.keytap), mSubclass(parts.subclass),
      mSettingsDialog(parts.settingsDialog) {
    mKeytap.onRouteChanged([this] { guarded([&] { uncheckKeysThatCannotWork(); }); });
    mPicSlider.onChange([this] { mPicSlider_Change(); });
    mPicSlider2.onChange([this] { mPicSlider2_Change(); });
}

frmMain::~frmMain() { mKeytap.onRouteChanged({}); }

std::string frmMain::ErrorMessageText(std::int32_t number) { return shown(kErrorOccurred) + std::to_string(number); }

// ---------------------------------------------------------------------------
// Start-up and shut-down

bool frmMain::Form_Load(const std::string& argumentText) {
    // Taken before the working folder becomes the program folder: a relative
    // path on the command line names a file in the folder the program was started in.
    std::error_code noStartFolder;
    const std::filesystem::path startFolder = std::filesystem::current_path(noStartFolder);
    skipOnFailure([&] { std::filesystem::current_path(programFolder()); },
                  [&] { mUtil = std::make_shared<clsCommonUtil>(); },
                  [&] {
                      clsIniFile appIni;
                      appIni.setFilePathMode(clsIniFile::kPathWindowsFolder);
                      appIni.setFileName(str(cfg::kAppFile));
                      appIni.WriteString(str(cfg::kAppSection), str(cfg::kKeyAppName), executablePath());
                  },
                  [&] {
                      mPositionIni = std::make_shared<clsIniFile>();
                      mPositionIni->setFileName(str(cfg::kPositionFile));
                  },
                  [&] { restorePlacement(); });

    if (mInstanceGuard.PrevInstance()) {
        mHandedOver = false;
        if (const auto file = parseCommandLine(argumentText, startFolder); file && mRunningCopy != nullptr) {
            guarded([&] {
                mHandedOver = mRunningCopy->handOver(absolutePath(file->path, startFolder),
                                                     file->startGiven ? file->start : RunningCopy::kNoStart);
            });
        }
        if (!mHandedOver) mView.MsgBox(shown(kAlreadyRunning), MessageIcon::Critical, kTitle);
        return false;
    }

    skipOnFailure(
        [&] {
            mUserIni = std::make_shared<clsIniFile>();
            mUserIni->setFilePathMode(clsIniFile::kPathProgramFolder);
            mUserIni->setFileName(str(cfg::kUserFile));
        },
        [&] { mPlayRate = 1.0; },
        [&] { applyRate(); },
        [&] { fillSpeedList(); },
        [&] { mRewindTime = readStepLength(cfg::kKeyRewind, cfg::kDefaultRewind); },
        [&] { mForwardTime = readStepLength(cfg::kKeyForward, cfg::kDefaultForward); },
        [&] { mAutorevTime = readStepLength(cfg::kKeyAutorev, cfg::kDefaultAutorev); },
        [&] { mPedalMapping = readPedalMapping(*mUserIni); },
        [&] {
            mTimeStampFormat =
                timeStampFormatNamed(ReadStringKeepingFile(*mUserIni,
                                                           str(cfg::kUserSection),
                                                           str(cfg::kKeyTimeStampFormat),
                                                           str(timeStampPattern(TimeStampFormat::Bracketed))));
        },
        [&] { mResume = ReadStringKeepingFile(*mUserIni, str(cfg::kUserSection), str(cfg::kKeyResume), "0") == "1"; },
        [&] { openHistory(); },
        [&] {
            mEvenLoudness =
                ReadStringKeepingFile(*mUserIni, str(cfg::kUserSection), str(cfg::kKeyEvenLoudness), "0") == "1";
            mEngine.settings().evenLoudness(mEvenLoudness);
        },
        [&] { mView.setLblTimeNow(kInitialTimeText); },
        [&] {
            mConfigIni = std::make_shared<clsIniFile>();
            mConfigIni->setFilePathMode(clsIniFile::kPathProgramFolder);
            mConfigIni->setFileName(str(cfg::kConfigFile));
        },
        [&] { setChkUseKey(1); },
        [&] { mView.setHelpFile(programFolder() + "/Lirabox_help.chm"); },
        [&] { mView.setIconFromPicture1(); },
        // Volume slider; each Value set applies the volume through Change.
        [&] { mPicSlider.setArrowPicture(&mPicArrow); },
        [&] { mPicSlider.setMainPicture(&mVolbk); },
        [&] { mPicSlider.setMin(0); },
        [&] { mPicSlider.setMax(kVolumeSliderMax); },
        [&] { mPicSlider.setValue(cfg::kDefaultVolumeValue); },
        [&] {
            const std::string saved = mPositionIni->ReadString(
                str(cfg::kVolumeSection), str(cfg::kKeyVolumeValue), std::to_string(mPicSlider.Value()));
            mPicSlider.setValue(toInt32(saved));
        },
        // Seek slider.
        [&] { mPicSlider2.setArrowPicture(&mSeekpoint); },
        [&] { mPicSlider2.setMainPicture(&mSeekbk); },
        [&] { mPicSlider2.setMin(0); },
        [&] { mPicSlider2.setMax(32767); },
        [&] { mPicSlider2.setValue(0); },
        [&] { mFullMode = true; },
        [&] { openCommandLine(argumentText, startFolder); });
    return true;
}

void frmMain::Form_Unload() {
    // Each step runs even when an earlier one failed, so a failing placement
    // save cannot cost the saved volume.
    skipOnFailure(
        [&] {
            if (mSettingsDialog != nullptr && mSettingsDialog->isLoaded()) mSettingsDialog->unload();
        },
        [&] {
            rememberPosition();
            saveHistory();
        },
        [&] { mUserIni.reset(); },
        [&] {
            if (mPlacement) mPlacement->Save();
        },
        [&] {
            if (mPositionIni) {
                mPositionIni->WriteString(
                    str(cfg::kVolumeSection), str(cfg::kKeyVolumeValue), std::to_string(mPicSlider.Value()));
            }
        },
        [&] {
            mPlacement.reset();
            mPositionIni.reset();
        });
}

void frmMain::restorePlacement() {
    if (mWindowServices == nullptr) return;
    mPlacement = std::make_shared<clsWinPlacement>(*mWindowServices);
    mPlacement->setTagetWnd(mView.WindowHandle());
    mPlacement->setMaximized(false);
    mPlacement->setMinimized(false);
    mPlacement->setUseHeight(false);
    mPlacement->setUseWidth(false);
    mPlacement->setSectionName(str(cfg::kPlacementSection));
    mPlacement->setIniFile(mPositionIni);
    bool outsideScreen = false;
    mPlacement->Restore(outsideScreen);
}

std::int16_t frmMain::readStepLength(std::string_view key, std::string_view defaultText) {
    return toInt16(mUserIni->ReadString(str(cfg::kUserSection), str(key), str(defaultText)));
}

void frmMain::fillSpeedList() {
    mView.cboSpeedClear();
    for (int i = 0; i < kSpeedItems; ++i) mView.cboSpeedAddItem(formatDouble15(3 - 0.1 * i));
    mView.cboSpeedSetListIndex(kSpeedItemOne);
    cboSpeed_Click();
}

void frmMain::openCommandLine(const std::string& argumentText, const std::filesystem::path& startFolder) {
    if (const auto file = parseCommandLine(argumentText, startFolder)) {
        playCommandLineFile(file->path, file->startGiven ? std::optional(file->start) : std::nullopt);
    }
}

// ---------------------------------------------------------------------------
// The recordings opened lately and where each was left

void frmMain::openHistory() { mHistory = std::make_unique<RecordingHistory>(RecordingHistory::programFile()); }

void frmMain::set_resume_position(bool resume) {
    writeUserSetting(cfg::kKeyResume, resume ? "1" : "0");
    mResume = resume;
}

void frmMain::rememberPosition() {
    if (!mHistory || mRecordingPath.empty() || mEngine.currentMedia().name().empty()) return;
    mHistory->remember(mRecordingPath, mEngine.controls().currentPosition());
}

void frmMain::saveHistory() {
    mTicksSinceSave = 0;
    if (mHistory) mHistory->save();
}

void frmMain::noteOpened(const std::string& path) {
    mRecordingPath = RecordingHistory::listedName(path);
    if (mHistory) mHistory->opened(mRecordingPath);
}

// Where a recording just loaded starts: where it was left when resuming is on
// and it was not left at its end, else 0.
double frmMain::resumePosition() const {
    if (!mResume || !mHistory) return 0;
    return mHistory->resumePosition(mRecordingPath, mEngine.currentMedia().duration());
}

std::vector<frmMain::RecentRecording> frmMain::recentRecordings() const {
    std::vector<RecentRecording> recent;
    if (!mHistory) return recent;
    for (const RecordingHistory::Recording& recording : mHistory->recordings()) {
        if (recent.size() == kRecentShown) break;
        recent.push_back({recording.path, isFile(recording.path)});
    }
    return recent;
}

void frmMain::openRecent(const std::string& path) {
    guarded([&] {
        fileOpen(path);
        if (mHistory && !isFile(path)) {
            mHistory->forget(path);
            saveHistory();
        }
    });
}

// ---------------------------------------------------------------------------
// Transport commands

void frmMain::applyRate() {
    if (mPlayRate != mReportedRate) {
        mReportedRate = mPlayRate;
        notify(&PlayerListener::rateChanged, mPlayRate);
    }
    mEngine.settings().rate(mPlayRate);
}

void frmMain::moveTo(double seconds) {
    mEngine.controls().currentPosition(seconds);
    notify(&PlayerListener::positionJumped, seconds);
    if (!mView.Timer2Enabled()) showPosition();
}

// The seek arrow at the position, without the seek its Change would make
// while the engine is not playing (paused, stopped or at the end).
void frmMain::showSeekValue(double position) {
    struct Showing {
        bool& flag;
        explicit Showing(bool& f) : flag(f) { flag = true; }
        ~Showing() { flag = false; }
    } showing(mShowingPosition);
    mPicSlider2.setValue(toInt32(position));
}

// While the tick is off nothing else brings the arrow, the time label and
// Timepost up to date with a position a command has just set.
void frmMain::showPosition() {
    skipOnFailure([&] { showSeekValue(mEngine.controls().currentPosition()); },
                  [&] { mView.setLblTimeNow(positionText()); },
                  [&] { publishWhileStill(); });
}

// Timepost hears the tick while it runs; a position set while it does not is
// told once, so that a reader agrees with the window.
void frmMain::publishWhileStill() {
    if (!mView.Timer2Enabled() && !mEngine.currentMedia().name().empty()) {
        mTimepost.SetTime(mEngine.controls().currentPosition());
    }
}

void frmMain::notePlayState() {
    const bool playing = mEngine.playState() == media::kPlaying;
    if (playing == mReportedPlaying) return;
    mReportedPlaying = playing;
    notify(&PlayerListener::playingChanged, playing);
}

void frmMain::noteRepeatMarks() { notify(&PlayerListener::repeatMarksChanged, mRepeatStart, mRepeatEnd); }

template <class Event, class... Args>
void frmMain::notify(Event event, const Args&... args) {
    // A copy: a listener may remove itself while it is told.
    const std::vector<PlayerListener*> listeners = mListeners;
    for (PlayerListener* listener : listeners) (listener->*event)(args...);
}

void frmMain::addListener(PlayerListener& listener) {
    if (std::find(mListeners.begin(), mListeners.end(), &listener) == mListeners.end()) {
        mListeners.push_back(&listener);
    }
}

void frmMain::removeListener(PlayerListener& listener) { std::erase(mListeners, &listener); }

void frmMain::runCommand(Command command) {
    guarded([&] {
        switch (command) {
        case Command::PlayPause: PPFunc(); break;
        case Command::Play: PlayFunc(); break;
        case Command::Pause: PauseFunc(); break;
        case Command::Stop: StopFunc(); break;
        case Command::Faster: SpeedFunc(kSpeedFaster); break;
        case Command::Slower: SpeedFunc(kSpeedSlower); break;
        case Command::FastForward: ForwardFunc(); break;
        case Command::Rewind: RewindFunc(); break;
        case Command::RepeatStart: setRepeatStartFunc(); break;
        case Command::RepeatEnd: setRepeatEndFunc(); break;
        case Command::InsertTimeStamp: insertTimeStampFunc(); break;
        case Command::GoToTime: goToTimeFunc(); break;
        case Command::GoToSelection: goToSelectionFunc(); break;
        case Command::Open: cmdOpen_Click(); break;
        case Command::PlaybackSettings: openSettings(SettingsTab::Playback); break;
        case Command::ShortcutKeySettings: openSettings(SettingsTab::ShortcutKeys); break;
        case Command::Quit:
        case Command::ToggleAlwaysOnTop:
        case Command::OneLineMode:
        case Command::FullMode:
        case Command::Help:
        case Command::Version: runMenuCommand(command); break;
        }
    });
}

void frmMain::openSettings(SettingsTab tab) {
    if (mSettingsDialog != nullptr) mSettingsDialog->open(tab);
}

void frmMain::runMenuCommand(Command command) {
    if (mMenus == nullptr) {
        if (command == Command::Quit) mView.closeMainWindow();
        return;
    }
    switch (command) {
    case Command::Quit: mMenus->mnuQuit_Click(); break;
    case Command::ToggleAlwaysOnTop: mMenus->mnuSetOnTop_Click(); break;
    case Command::OneLineMode: mMenus->mnuToLineMode_Click(); break;
    case Command::FullMode: mMenus->mnuToFullMode_Click(); break;
    case Command::Help: mMenus->mnuMokuji_Click(); break;
    case Command::Version: mMenus->mnuVer_Click(); break;
    default: break;
    }
}

void frmMain::PPFunc() {
    if (mEngine.playState() == media::kPlaying) {
        PauseFunc();
    } else {
        PlayFunc();
    }
}

void frmMain::PlayFunc() {
    bool noMedia = true;
    runStep([&] { noMedia = mEngine.currentMedia().name().empty(); });
    if (noMedia) return;
    skipOnFailure([&] { applyRate(); },
                  [&] {
                      const double position = mEngine.controls().currentPosition();
                      moveTo(position < 1.0 ? 0.0 : position - mAutorevTime);
                  },
                  [&] { mEngine.controls().play(); },
                  [&] { notePlayState(); },
                  [&] { mView.setTimer2Enabled(true); },
                  [&] { mView.DoEvents(); });
}

void frmMain::PauseFunc() {
    skipOnFailure([&] { mView.setTimer2Enabled(false); },
                  [&] { applyRate(); },
                  [&] { mEngine.controls().pause(); },
                  [&] { notePlayState(); },
                  [&] { showPosition(); },
                  [&] { mView.DoEvents(); });
}

void frmMain::StopFunc() {
    skipOnFailure([&] { mView.setTimer2Enabled(false); },
                  [&] { applyRate(); },
                  [&] { mEngine.controls().stop(); },
                  [&] { notePlayState(); },
                  [&] { moveTo(0.0); },
                  [&] { mView.DoEvents(); });
}

void frmMain::RewindFunc() {
    skipOnFailure([&] { applyRate(); },
                  [&] {
                      const double position = mEngine.controls().currentPosition();
                      moveTo(position < 2.0 ? 0.0 : position - mRewindTime);
                  },
                  [&] { mView.DoEvents(); });
}

void frmMain::ForwardFunc() {
    skipOnFailure([&] { applyRate(); },
                  [&] { moveTo(mEngine.controls().currentPosition() + mForwardTime); },
                  [&] { mView.DoEvents(); });
}

void frmMain::SpeedFunc(std::int16_t direction) {
    // Each step lands on the speed list's 0.1 grid, so repeated steps never
    // drift to a rate like 0.999999999999998 that the list does not hold.
    const auto onGrid = [](double r) { return std::round(r * 10) / 10; };
    double rate = mPlayRate;
    if (direction == kSpeedFaster) {
        rate = onGrid(rate + 0.1);
        if (rate > 3) rate = 3;
    } else if (direction == kSpeedSlower) {
        rate = onGrid(rate - 0.1);
        if (!(rate >= 0.5)) rate = 0.5;
    }
    setPlayRate(rate);
}

void frmMain::setPlayRate(double rate) {
    skipOnFailure(
        [&] { mPlayRate = rate; }, [&] { applyRate(); }, [&] { mView.setCboSpeedText(formatDouble15(rate)); });
}

void frmMain::seekTo(double seconds) {
    guarded([&] { moveTo(seconds); });
}

void frmMain::goToTime(double seconds) {
    if (mEngine.currentMedia().name().empty()) return;
    moveTo(std::clamp(seconds, 0.0, std::max(0.0, mEngine.currentMedia().duration())));
}

void frmMain::goToTimeFunc() {
    if (mEngine.currentMedia().name().empty()) return;
    std::string text = TimeText(mEngine.controls().currentPosition());
    while (const auto answer = mView.showGoToTimeDialog(text)) {
        if (const auto seconds = parseTimeEntry(*answer)) {
            goToTime(*seconds);
            return;
        }
        mView.MsgBox(shown(kNotATime), MessageIcon::Information, kTitle);
        text = *answer;
    }
}

void frmMain::goToSelectionFunc() {
    if (mSelectionReader == nullptr || mEngine.currentMedia().name().empty()) return;
    mSelectionReader->read([this](const std::string& text) {
        guarded([&] {
            if (const auto seconds = findTimeStamp(text)) goToTime(*seconds);
        });
    });
}

void frmMain::setRepeatStartFunc() {
    if (mRepeatStart != 0) {
        mRepeatStart = 0;
        mView.setRepeatIntervalX1(0);
        noteRepeatMarks();
        return;
    }
    mRepeatStart = toInt32(mEngine.controls().currentPosition());
    mView.setRepeatIntervalX1(markPlace(mRepeatStart, mEngine.currentMedia().duration(), 0));
    noteRepeatMarks();
}

void frmMain::setRepeatEndFunc() {
    const std::int32_t length = toInt32(mEngine.currentMedia().duration());
    if (mRepeatEnd == length) {
        mRepeatEnd = toInt32(mEngine.controls().currentPosition());
        mView.setRepeatIntervalX2(markPlace(mRepeatEnd, mEngine.currentMedia().duration(), layout::kRepeatLineSpan));
    } else {
        mRepeatEnd = length;
        mView.setRepeatIntervalX2(layout::kRepeatLineSpan);
    }
    noteRepeatMarks();
}

void frmMain::set_rewind_time(std::int16_t seconds) { setStepLength(mRewindTime, cfg::kKeyRewind, seconds); }
void frmMain::set_forward_time(std::int16_t seconds) { setStepLength(mForwardTime, cfg::kKeyForward, seconds); }
void frmMain::set_autorev_time(std::int16_t seconds) { setStepLength(mAutorevTime, cfg::kKeyAutorev, seconds); }

void frmMain::set_timestamp_format(TimeStampFormat format) {
    writeUserSetting(cfg::kKeyTimeStampFormat, str(timeStampPattern(format)));
    mTimeStampFormat = format;
}

void frmMain::set_even_loudness(bool on) {
    writeUserSetting(cfg::kKeyEvenLoudness, on ? "1" : "0");
    mEvenLoudness = on;
    mEngine.settings().evenLoudness(on);
}

void frmMain::setStepLength(std::int16_t& member, std::string_view key, std::int16_t seconds) {
    writeUserSetting(key, std::to_string(seconds));
    member = seconds;
}

void frmMain::writeUserSetting(std::string_view key, const std::string& value) {
    if (!mUserIni) {
        throw RaisedError(kErrObjectNotSet, kTitle, "UserCfg.ini is not open");
    }
    if (!mUserIni->WriteString(str(cfg::kUserSection), str(key), value)) {
        throw RaisedError::object(clsIniFile::kErrWriteFailed,
                                  kTitle,
                                  "書き込みに失敗しました。 " + str(cfg::kUserSection) + " , " + str(key));
    }
}

void frmMain::insertTimeStampFunc() {
    if (mTextTyper == nullptr || mEngine.currentMedia().name().empty()) return;
    mTextTyper->type(TimeStampText(mEngine.controls().currentPosition(), mTimeStampFormat));
}

void frmMain::set_pedal_mapping(const PedalMapping& mapping) {
    if (!mUserIni) throw RaisedError(kErrObjectNotSet, kTitle, "UserCfg.ini is not open");
    if (!writePedalMapping(*mUserIni, mapping)) {
        throw RaisedError::object(
            clsIniFile::kErrWriteFailed, kTitle, "書き込みに失敗しました。 " + str(cfg::kPedalSection));
    }
    mPedalMapping = mapping;
}

// ---------------------------------------------------------------------------
// Position tick

void frmMain::Timer2_Timer() {
    skipOnFailure([&] { showSeekValue(mEngine.controls().currentPosition()); },
                  [&] { mView.setLblTimeNow(positionText()); },
                  [&] {
                      const double position = mEngine.controls().currentPosition();
                      mTimepost.SetTime(position);
                      notify(&PlayerListener::positionTicked, position);
                  },
                  [&] { repeatStep(); },
                  [&] { notePlayState(); },
                  [&] {
                      if (++mTicksSinceSave < kTicksBetweenSaves) return;
                      rememberPosition();
                      saveHistory();
                  });
}

// Marks set by the user repeat their stretch: back to the start mark at the
// end mark, or at the recording's end when the end mark lies beyond it or only
// a start mark is set. Without marks the recording plays to its real end and
// stops there.
void frmMain::repeatStep() {
    const bool endMarked = mRepeatEnd != toInt32(mEngine.currentMedia().duration());
    if (endMarked && mEngine.controls().currentPosition() >= mRepeatEnd) {
        moveTo(mRepeatStart);
        return;
    }
    if (mEngine.playState() != media::kMediaEnded) return;
    if (endMarked || mRepeatStart != 0) {
        moveTo(mRepeatStart);
    } else {
        mView.setTimer2Enabled(false);
    }
}

std::string frmMain::positionText() {
    return PositionText(mEngine.controls().currentPosition(), mEngine.currentMedia().duration());
}

// ---------------------------------------------------------------------------
// File opening

void frmMain::fileOpen(const std::string& path) {
    reportingLoadErrors(path, [&] { loadStopped(path); });
}

void frmMain::openFile(const std::string& path) {
    try {
        loadStopped(path);
    } catch (const RaisedError&) {
        noteFailedLoad();
        throw;
    } catch (...) {
        noteFailedLoad();
        throw RaisedError(kErrUnspecified, kTitle, "the file could not be opened: " + path);
    }
}

void frmMain::openHandedOver(const std::string& path, std::int32_t start) {
    playCommandLineFile(path, start != RunningCopy::kNoStart ? std::optional<std::int32_t>(start) : std::nullopt);
    guarded([&] { mView.SetFocusTo(mFullMode ? ShownWindow::Main : ShownWindow::OneLine); });
}

void frmMain::playCommandLineFile(const std::string& path, std::optional<std::int32_t> start) {
    reportingLoadErrors(path, [&] {
        // The history is saved once the sound has started: its flush to the
        // disk does not hold the sound up.
        const OnLeaving saveAfterwards {[&] { saveHistory(); }};
        const auto labelFailure = loadSequence(path, false);
        if (!mEngine.currentMedia().name().empty()) {
            applyRate();
            moveTo(start ? *start : resumePosition());
            mEngine.controls().play();
            notePlayState();
            mView.setTimer2Enabled(true);
            mView.DoEvents();
        }
        if (labelFailure) throw *labelFailure;
    });
}

// The load of the Open dialog, drops and the recent list: stopped, where the
// recording was left when resuming is on.
void frmMain::loadStopped(const std::string& path) {
    mEngine.settings().autoStart(false);
    const OnLeaving saveAfterwards {[&] { saveHistory(); }};
    const auto labelFailure = loadSequence(path, true);
    if (const double start = resumePosition(); start > 0) {
        moveTo(start);
    } else {
        publishWhileStill();
    }
    if (labelFailure) throw *labelFailure;
}

// The common load; the focus step is left out for the command line. A time
// label that cannot show the length (beyond 32-bit seconds) does not cut the
// load short: the marks and the seek range still cover the whole recording, and the
// label's failure comes back to be reported once the load is complete.
std::optional<RaisedError> frmMain::loadSequence(const std::string& path, bool withFocus) {
    if (!mUtil) throw RaisedError(kErrObjectNotSet, kTitle, "no file-name utility");
    mView.setLblFile(mUtil->ExtractFileName(path));
    guarded([&] { rememberPosition(); });
    mEngine.settings().autoStart(false);
    mEngine.URL(path);
    mEngine.mediaCollection().add(mEngine.currentMedia().sourceURL());
    mEngine.settings().rate(1.0);
    mPicSlider2.setMax(toInt32(mEngine.currentMedia().duration()));
    if (withFocus) mView.SetFocusTo(mFullMode ? ShownWindow::Main : ShownWindow::OneLine);
    std::optional<RaisedError> labelFailure;
    try {
        mView.setLblTimeNow(positionText());
    } catch (const RaisedError& error) {
        labelFailure = error;
    }
    if (!mView.Timer2Enabled()) showSeekValue(mEngine.controls().currentPosition());
    mRepeatStart = 0;
    mRepeatEnd = toInt32(mEngine.currentMedia().duration());
    guarded([&] { noteOpened(path); });
    notePlayState();
    notify(&PlayerListener::recordingLoaded, mView.lblFile(), mEngine.currentMedia().duration());
    noteRepeatMarks();
    return labelFailure;
}

void frmMain::reportingLoadErrors(const std::string& path, const std::function<void()>& load) noexcept {
    std::int32_t number = 0;
    try {
        load();
        return;
    } catch (const RaisedError& error) {
        number = error.number();
    } catch (...) {
        number = kErrUnspecified;
    }
    noteFailedLoad();
    // A load given up is the user quitting: nothing to tell.
    if (number == kObjectErrorBase + media::kErrLoadGivenUp) return;
    guarded([&] { mView.MsgBox(LoadFailureText(number, path), MessageIcon::Critical, kTitle); });
}

// A file the engine refused leaves the recording it had loaded, if any; the
// label then names that one again.
void frmMain::noteFailedLoad() noexcept {
    guarded([&] {
        notePlayState();
        if (mEngine.currentMedia().name().empty()) {
            notify(&PlayerListener::recordingUnloaded);
        } else if (mUtil) {
            mView.setLblFile(mUtil->ExtractFileName(mEngine.currentMedia().sourceURL()));
        }
    });
}

// ---------------------------------------------------------------------------
// Sliders

void frmMain::mPicSlider_Change() {
    guarded([&] {
        notify(&PlayerListener::volumeChanged, mPicSlider.Value());
        mEngine.settings().volume(engineVolumeOf(mPicSlider.Value()));
    });
}

void frmMain::mPicSlider2_Change() {
    if (mShowingPosition) return;
    guarded([&] {
        if (mEngine.playState() != media::kPlaying) moveTo(mPicSlider2.Value());
    });
}

// The arrow's middle follows the pointer; x is measured within the arrow.
void frmMain::dragStep(clsPicSlider& slider, double x) {
    SliderPicture* bar = slider.MainPicture();
    SliderPicture* arrow = slider.ArrowPicture();
    if (bar == nullptr || arrow == nullptr || !(bar->Width() > 0)) return;
    const double fraction = (arrow->Left() + x - arrow->Width() / 2) / bar->Width();
    slider.setValue(toInt32(fraction * slider.Max()));
}

void frmMain::picArrow_MouseDown() { mPicSlider.setMouseDown(true); }
void frmMain::picArrow_MouseUp() { mPicSlider.setMouseDown(false); }
void frmMain::picArrow_MouseMove(double x) {
    guarded([&] {
        if (mPicSlider.MouseDown()) dragStep(mPicSlider, x);
    });
}

// A press on the seek bar beside the arrow drags the arrow from that point.
void frmMain::seekbk_MouseDown(double x) {
    seekpoint_MouseDown();
    seekbk_MouseMove(x);
}
void frmMain::seekbk_MouseMove(double x) { seekpoint_MouseMove(x - mSeekpoint.Left()); }
void frmMain::seekbk_MouseUp() { seekpoint_MouseUp(); }

void frmMain::seekpoint_MouseDown() { mPicSlider2.setMouseDown(true); }
void frmMain::seekpoint_MouseUp() { mPicSlider2.setMouseDown(false); }
void frmMain::seekpoint_MouseMove(double x) {
    guarded([&] {
        if (!mPicSlider2.MouseDown()) return;
        dragStep(mPicSlider2, x);
        // Taken now: the play command below shows its step back on the arrow.
        const std::int32_t target = mPicSlider2.Value();
        PPFunc();
        moveTo(target);
        PPFunc();
    });
}

// ---------------------------------------------------------------------------
// Shortcut keys

void frmMain::setChkUseKey(int value) {
    if (mView.chkUseKey() == value) return;
    mView.setChkUseKey(value);
    chkUseKey_Click();
}

void frmMain::chkUseKey_Click() {
    guarded([&] {
        switch (mView.chkUseKey()) {
        case 1: switchShortcutKeysOn(); break;
        case 0: switchShortcutKeysOff(); break;
        default: break;
        }
    });
}

// A row whose stored values are not numbers stays unassigned; the other rows
// and the subclassing go on.
void frmMain::switchShortcutKeysOn() {
    const std::uintptr_t window = mView.WindowHandle();
    mKeytap.InitHook(window);
    for (int index = 0; index < cfg::kShortcutRows; ++index) {
        runStep([&] {
            const ShortcutKeyRecord record = LoadShortcutKey(index);
            if (record.ID != -1) mKeytap.RegistKey(record);
        });
    }
    mSubclass.SubclassMainWindow(window);
    uncheckKeysThatCannotWork();
}

// The box never claims the keys are on while they cannot reach the program;
// checking it again tries once more.
void frmMain::uncheckKeysThatCannotWork() {
    if (mView.chkUseKey() == 1 && mKeytap.route().way == KeyRoute::Way::Off) setChkUseKey(0);
}

void frmMain::switchShortcutKeysOff() {
    const std::uintptr_t window = mView.WindowHandle();
    mSubclass.RestoreMainWindowProc(window);
    mKeytap.TerminateHook();
}

void frmMain::suspendShortcutKeys() {
    guarded([&] {
        if (mView.chkUseKey() == 1) mKeytap.TerminateHook();
    });
}

void frmMain::resumeShortcutKeys() {
    guarded([&] {
        if (mView.chkUseKey() == 1) switchShortcutKeysOn();
    });
}

ShortcutKeyRecord frmMain::LoadShortcutKey(int index) {
    if (index < 0 || index >= cfg::kShortcutRows) {
        throw RaisedError(kErrInvalidCall, kTitle, "no such shortcut-key row");
    }
    if (!mConfigIni) throw RaisedError(kErrObjectNotSet, kTitle, "config.ini is not open");
    return readShortcutKeyRow(*mConfigIni, index);
}

void frmMain::KeyMessage(std::int32_t slot) {
    if (const auto command = commandForSlot(slot)) runCommand(*command);
}

// ---------------------------------------------------------------------------
// Control handlers

void frmMain::cboSpeed_Click() {
    skipOnFailure([&] { mPlayRate = toDouble(mView.cboSpeedText()); }, [&] { applyRate(); });
}

void frmMain::cmdOpen_Click() {
    guarded([&] {
        OpenDialogRequest request;
        request.title = shown(kOpenDialogTitle);
        for (const FilterEntry& entry : kOpenFilter) {
            request.filter += (request.filter.empty() ? "" : "|") + shown(entry.name) + "|" + entry.patterns;
        }
        request.defaultExtension = "wav";
        request.flags = kOpenDialogFlags;
        // A cancelled dialog loads nothing.
        if (const auto chosen = mView.showOpenDialog(request)) fileOpen(*chosen);
    });
}

void frmMain::OLEDragDrop(const std::vector<std::string>& files) {
    if (!files.empty()) fileOpen(files.front());
}

}  // namespace lirabox
