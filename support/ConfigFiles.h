#pragma once
// Names, sections, keys and defaults of every configuration file.

#include <string_view>

namespace lirabox::config {

// "config.ini" (program folder): ten shortcut keys, sections ID00 .. ID09.
// The ninth (the time stamp) and the tenth (the jump to a selected time stamp)
// came later: their sections are read without being created and written only
// once they hold a key, so a file of the first eight keys stays as it is.
inline constexpr std::string_view kConfigFile = "config.ini";
inline constexpr int kShortcutRows = 10;
inline constexpr int kOriginalShortcutRows = 8;
inline constexpr std::string_view kShortcutSectionPrefix = "ID";  // + row as two digits
inline constexpr std::string_view kKeyID = "ID";
inline constexpr std::string_view kKeyKeyCode = "KeyCode";
inline constexpr std::string_view kKeyKeyDestroy = "KeyDestroy";
inline constexpr std::string_view kKeyShiftStatus = "ShiftStatus";
inline constexpr std::string_view kDefaultID = "-1";
inline constexpr std::string_view kDefaultKeyCode = "0";
inline constexpr std::string_view kDefaultKeyDestroy = "0";
inline constexpr std::string_view kDefaultShiftStatus = "0";

// "UserCfg.ini" (program folder): step lengths in seconds, foot pedal actions.
inline constexpr std::string_view kUserFile = "UserCfg.ini";
inline constexpr std::string_view kUserSection = "Config";
inline constexpr std::string_view kKeyRewind = "Rewind";
inline constexpr std::string_view kKeyForward = "Forward";
inline constexpr std::string_view kKeyAutorev = "Autorev";
inline constexpr std::string_view kDefaultRewind = "2";
inline constexpr std::string_view kDefaultForward = "2";
inline constexpr std::string_view kDefaultAutorev = "1";
// How the time stamp command writes the position; read without being created.
inline constexpr std::string_view kKeyTimeStampFormat = "TimeStampFormat";
// Whether a recording opened without a start second resumes where it was
// left ("1") or starts at 0 ("0", the default); read without being created.
inline constexpr std::string_view kKeyResume = "Resume";
// Whether voices are levelled ("1") or played as recorded ("0", the default);
// read without being created.
inline constexpr std::string_view kKeyEvenLoudness = "EvenLoudness";
// What each foot pedal does (values: player/PedalMapping.cpp).
inline constexpr std::string_view kPedalSection = "FootPedal";
inline constexpr std::string_view kKeyPedalLeft = "Left";
inline constexpr std::string_view kKeyPedalMiddle = "Middle";
inline constexpr std::string_view kKeyPedalRight = "Right";

// "position.ini" (program folder): main window placement and the volume.
inline constexpr std::string_view kPositionFile = "position.ini";
inline constexpr std::string_view kPlacementSection = "FormPosition";
inline constexpr std::string_view kKeyMinimized = "Minimized";
inline constexpr std::string_view kKeyMaximized = "Maximized";
inline constexpr std::string_view kKeyLeft = "Left";
inline constexpr std::string_view kKeyTop = "Top";
inline constexpr std::string_view kKeyRight = "Right";
inline constexpr std::string_view kKeyBottom = "Bottom";
inline constexpr std::string_view kDefaultMinimized = "0";
inline constexpr std::string_view kDefaultMaximized = "0";
inline constexpr std::string_view kVolumeSection = "Volume";
inline constexpr std::string_view kKeyVolumeValue = "value";
inline constexpr int kDefaultVolumeValue = 2500;

// "history.ini" (program folder): the recordings opened lately, most recent
// first, with the position each was left at (player/RecordingHistory.h).
inline constexpr std::string_view kHistoryFile = "history.ini";
inline constexpr std::string_view kHistorySection = "Recordings";

// "envelopes.dat" (program folder): the seek bar's envelopes of the recordings
// opened lately, a cache in a binary form of its own (player/EnvelopeStore.h);
// not a setting, so never copied to a stand-in folder.
inline constexpr std::string_view kEnvelopeFile = "envelopes.dat";

// "Lirabox.ini" (the Windows-directory equivalent): the executable's full path.
inline constexpr std::string_view kAppFile = "Lirabox.ini";
inline constexpr std::string_view kAppSection = "config";
inline constexpr std::string_view kKeyAppName = "AppName";

}  // namespace lirabox::config
