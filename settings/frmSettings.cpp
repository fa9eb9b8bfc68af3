#include "frmSettings.h"

#include "SettingsTexts.h"
#include "player/ShortcutKeyRow.h"
#include "player/frmMain.h"
#include "support/ConfigFiles.h"
#include "support/RaisedError.h"
#include "support/clsCommonUtil.h"
#include "support/clsIniFile.h"

#include <algorithm>
#include <limits>

namespace lirabox::settings {
namespace {

static_assert(text::kPedalChoices.size() == kPedalChoiceCount);

constexpr std::int32_t kTab = 9;
constexpr std::int32_t kShiftCode = 1;
constexpr std::int32_t kErrUnspecified = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t kErrObjectNotSet = 91;

std::size_t indexOf(StepBox box) { return static_cast<std::size_t>(box); }
std::size_t indexOf(int row) { return static_cast<std::size_t>(row); }

bool isModifierKey(std::int32_t keyCode) { return keyCode >= 16 && keyCode <= 18; }

// The whole number a step box holds; a value beyond 16 bits is kept at the largest.
std::int16_t stepValue(const std::string& digits) {
    long value = 0;
    for (const char digit : digits) value = value * 10 + (digit - '0');
    return static_cast<std::int16_t>(std::min<long>(value, std::numeric_limits<std::int16_t>::max()));
}

// Runs one step of Apply; a failure is remembered (the first one) and the next step runs.
template <class Step>
void step(std::optional<std::int32_t>& failure, Step&& action) {
    try {
        action();
    } catch (const RaisedError& error) {
        if (!failure) failure = error.number();
    } catch (...) {
        if (!failure) failure = kErrUnspecified;
    }
}

}  // namespace

frmSettings::frmSettings(Collaborators parts)
    : mMain(parts.main), mMainWindow(parts.mainWindow), mKeytap(parts.keytap), mSubclass(parts.subclass),
      mDesktop(std::move(parts.desktop)), mKeyLegend(std::move(parts.keyLegend)) {}

frmSettings::~frmSettings() = default;

void frmSettings::Form_Load(std::uintptr_t dialogWindow) {
    mWindow = dialogWindow;
    mTab = SettingsTab::ShortcutKeys;
    mTopMost = false;
    mKeyBoxFocused = false;
    mConfigIni = std::make_shared<clsIniFile>();
    mConfigIni->setFilePathMode(clsIniFile::kPathProgramFolder);
    mConfigIni->setFileName(std::string(config::kConfigFile));
    mStepTexts[indexOf(StepBox::RevTime)] = std::to_string(mMain.rewind_time());
    mStepTexts[indexOf(StepBox::FowTime)] = std::to_string(mMain.forward_time());
    mStepTexts[indexOf(StepBox::AutRev)] = std::to_string(mMain.autorev_time());
    mPedals = mMain.pedal_mapping();
    mTimeStampFormat = mMain.timestamp_format();
    mResume = mMain.resume_position();
    mEvenLoudness = mMain.even_loudness();
    for (int row = 0; row < kRows; ++row) {
        mShortcutKeys[indexOf(row)] = LoadShortcutKey(row);
        ShowShortcutKey(row, mShortcutKeys[indexOf(row)]);
    }
    tmrInputChecker_Timer();
    mLoaded = true;
}

void frmSettings::Form_Unload() {
    if (!mLoaded) return;
    mLoaded = false;
    mKeytap.TerminateHook();
    mSubclass.RestoreMainWindowProc(mMainWindow);
    mConfigIni.reset();
    setTopMostState(false);
}

// A row whose stored values are not numbers shows as unassigned; saving rewrites it.
ShortcutKeyRecord frmSettings::LoadShortcutKey(int row) {
    try {
        return readShortcutKeyRow(*mConfigIni, row);
    } catch (const RaisedError&) {
        return ShortcutKeyRecord {-1, 0, 0, 0};
    }
}

void frmSettings::ShowShortcutKey(int row, const ShortcutKeyRecord& record) {
    mKeyTexts[indexOf(row)] = keyName(record.KeyCode, record.ShiftStatus);
}

std::string frmSettings::keyName(std::int32_t keyCode, std::int32_t shift) const {
    return KeyCodeToName(keyCode, shift, mKeyLegend);
}

void frmSettings::SSTab1_Click(SettingsTab tab) { mTab = tab; }

UiText frmSettings::caption() const {
    switch (mTab) {
    case SettingsTab::Playback: return text::kPlaybackTab;
    case SettingsTab::FootPedals: return text::kFootPedalCaption;
    case SettingsTab::ShortcutKeys: break;
    }
    return text::kShortcutKeyTab;
}

const std::string& frmSettings::stepText(StepBox box) const { return mStepTexts[indexOf(box)]; }

void frmSettings::setStepText(StepBox box, std::string_view typed) {
    std::string digits;
    for (const char c : typed) {
        if (c >= '0' && c <= '9' && digits.size() < kStepDigits) digits += c;
    }
    mStepTexts[indexOf(box)] = digits;
}

std::optional<std::int32_t> frmSettings::cmdSave_Click() {
    std::optional<std::int32_t> failure;
    for (std::string& text : mStepTexts) text = std::to_string(stepValue(text));
    applyStep(StepBox::AutRev, 0, &frmMain::set_autorev_time, failure);
    applyStep(StepBox::RevTime, 2, &frmMain::set_rewind_time, failure);
    applyStep(StepBox::FowTime, 2, &frmMain::set_forward_time, failure);
    step(failure, [&] { mMain.set_pedal_mapping(mPedals); });
    step(failure, [&] {
        if (mTimeStampFormat != mMain.timestamp_format()) mMain.set_timestamp_format(mTimeStampFormat);
    });
    step(failure, [&] {
        if (mResume != mMain.resume_position()) mMain.set_resume_position(mResume);
        if (mEvenLoudness != mMain.even_loudness()) mMain.set_even_loudness(mEvenLoudness);
    });
    SaveShortcutKeys(failure);
    return failure;
}

void frmSettings::applyStep(StepBox box, std::int16_t fallback, void (frmMain::*set)(std::int16_t),
                            std::optional<std::int32_t>& failure) {
    std::int16_t value = stepValue(mStepTexts[indexOf(box)]);
    if (value <= 0) {
        value = fallback;
        mStepTexts[indexOf(box)] = std::to_string(fallback);
    }
    step(failure, [&] { (mMain.*set)(value); });
}

// Every row is written and then registered in its own slot as the file now
// holds it, so the file and the hook library agree even after a failed write.
// The ninth and tenth rows are left out until they hold a key.
void frmSettings::SaveShortcutKeys(std::optional<std::int32_t>& failure) {
    for (int row = 0; row < kRows; ++row) {
        if (!shortcutKeyRowToKeep(row, mShortcutKeys[indexOf(row)])) continue;
        step(failure, [&] {
            if (!mConfigIni) throw RaisedError(kErrObjectNotSet, frmMain::kTitle, "config.ini is not open");
            if (!writeShortcutKeyRow(*mConfigIni, row, mShortcutKeys[indexOf(row)])) {
                throw RaisedError::object(clsIniFile::kErrWriteFailed, frmMain::kTitle, "config.ini");
            }
        });
        step(failure, [&] { mKeytap.RegistKey(readShortcutKeyRow(*mConfigIni, row)); });
    }
}

std::size_t frmSettings::pedalChoice(Pedal pedal) const {
    const auto choices = pedalChoices();
    const auto found = std::find(choices.begin(), choices.end(), mPedals[static_cast<std::size_t>(pedal)]);
    return static_cast<std::size_t>(found - choices.begin());
}

void frmSettings::setPedalChoice(Pedal pedal, std::size_t choice) {
    if (choice < kPedalChoiceCount) mPedals[static_cast<std::size_t>(pedal)] = pedalChoices()[choice];
}

void frmSettings::chkTopMost_Click(bool checked) { setTopMostState(checked); }

void frmSettings::setTopMostState(bool above) {
    clsCommonUtil util(mDesktop);
    util.setObject(mWindow);
    util.setTopMost(above);
    mTopMost = above;
}

const std::string& frmSettings::keyText(int row) const { return mKeyTexts[indexOf(row)]; }

const ShortcutKeyRecord& frmSettings::shortcutKey(int row) const { return mShortcutKeys[indexOf(row)]; }

int frmSettings::discardValue(int row) const {
    const std::int32_t value = mShortcutKeys[indexOf(row)].KeyDestroy;
    if (value == 0) return 0;
    return value == 1 || value == -1 ? 1 : 2;
}

std::optional<int> frmSettings::nextFocus(int row) { return row + 1 < kRows ? row + 1 : kOkButton; }

std::optional<int> frmSettings::txtShortcutKey_KeyDown(int row, CapturedKey key) {
    if (row < 0 || row >= kRows) return std::nullopt;
    mKeyTexts[indexOf(row)] = keyName(key.keyCode, key.shift);
    mShortcutKeys[indexOf(row)].KeyCode = key.keyCode;
    mShortcutKeys[indexOf(row)].ShiftStatus = key.shift;
    if (isModifierKey(key.keyCode)) return std::nullopt;
    return nextFocus(row);
}

std::optional<int> frmSettings::txtShortcutKey_LostFocus(int row, LeftBy how) {
    if (row < 0 || row >= kRows || how == LeftBy::Other) return std::nullopt;
    const std::int32_t shift = how == LeftBy::Tab ? 0 : kShiftCode;
    mKeyTexts[indexOf(row)] = keyName(kTab, shift);
    mShortcutKeys[indexOf(row)].KeyCode = kTab;
    mShortcutKeys[indexOf(row)].ShiftStatus = shift;
    if (how == LeftBy::ShiftTab) return std::nullopt;
    return nextFocus(row);
}

void frmSettings::chkDestructionKeyCode_Click(int row, bool checked) {
    if (row >= 0 && row < kRows) mShortcutKeys[indexOf(row)].KeyDestroy = checked ? 1 : 0;
}

void frmSettings::cmdSuggestedKeys_Click() {
    const auto held = [this](std::int32_t keyCode) {
        return std::any_of(mShortcutKeys.begin(), mShortcutKeys.end(), [keyCode](const ShortcutKeyRecord& record) {
            return record.KeyCode == keyCode && record.ShiftStatus == 0;
        });
    };
    for (int row = 0; row < kRows; ++row) {
        ShortcutKeyRecord& record = mShortcutKeys[indexOf(row)];
        const std::int32_t suggested = kSuggestedKeys[indexOf(row)];
        if (suggested == 0 || record.KeyCode != 0 || held(suggested)) continue;
        record.KeyCode = suggested;
        record.ShiftStatus = 0;
        record.KeyDestroy = 1;
        ShowShortcutKey(row, record);
    }
}

// Two rows holding the same key with the same modifiers; empty rows (key 0) hold no key to repeat.
void frmSettings::tmrInputChecker_Timer() {
    bool duplicate = false;
    for (int i = 0; i < kRows - 1; ++i) {
        for (int j = i + 1; j < kRows; ++j) {
            const ShortcutKeyRecord& a = mShortcutKeys[indexOf(i)];
            const ShortcutKeyRecord& b = mShortcutKeys[indexOf(j)];
            duplicate = duplicate || (a.KeyCode != 0 && a.KeyCode == b.KeyCode && a.ShiftStatus == b.ShiftStatus);
        }
    }
    mDuplicate = duplicate;
}

UiText frmSettings::messageText() const { return mDuplicate ? text::kMessageDuplicate : text::kMessageNormal; }

std::string frmSettings::keyRouteText() {
    const KeyRoute route = mKeytap.route();
    switch (route.way) {
    case KeyRoute::Way::Watcher: return shown(text::kKeyRouteCaption) + shown(text::kKeyRouteWatcher);
    case KeyRoute::Way::DesktopShortcuts: return shown(text::kKeyRouteCaption) + shown(text::kKeyRoutePortal);
    case KeyRoute::Way::Off: break;
    }
    return shown(text::kKeyRouteCaption) + shown(text::kKeyRouteOff) + route.offReason;
}

std::string frmSettings::desktopKeyText(int row) {
    const KeyRoute route = mKeytap.route();
    if (route.way != KeyRoute::Way::DesktopShortcuts || row < 0 || row >= kRows) return {};
    return route.desktopKeys[static_cast<std::size_t>(row)];
}

bool frmSettings::keysByDesktop() { return mKeytap.route().way == KeyRoute::Way::DesktopShortcuts; }

void frmSettings::keyBoxFocusChanged(bool inKeyBox) {
    if (!mLoaded || inKeyBox == mKeyBoxFocused) return;
    mKeyBoxFocused = inKeyBox;
    if (inKeyBox) {
        mMain.suspendShortcutKeys();
    } else {
        mMain.resumeShortcutKeys();
    }
}

}  // namespace lirabox::settings
