#pragma once
// Every command a user can give the player, whatever the input: buttons, menu
// items, the global shortcut keys, and later inputs such as media keys. Each
// input only names a command; frmMain::runCommand carries it out.

#include <cstdint>
#include <optional>
#include <string_view>

namespace lirabox {

enum class Command {
    PlayPause,
    Play,
    Pause,
    Stop,
    Faster,
    Slower,
    FastForward,
    Rewind,
    RepeatStart,
    RepeatEnd,
    InsertTimeStamp,  // types the playing position into the focused window
    GoToTime,         // the go-to-time dialog
    GoToSelection,    // moves to the time stamp the user has selected
    Open,
    Quit,
    PlaybackSettings,     // the settings dialog on its playback tab
    ShortcutKeySettings,  // the settings dialog on its shortcut-key tab
    ToggleAlwaysOnTop,
    OneLineMode,
    FullMode,
    Help,
    Version,
};

// The number of shortcut-key slots that run a command.
inline constexpr std::int32_t kCommandSlots = 10;

// The command a shortcut-key slot (the message's wParam) runs: slots 0..9 in
// the order of the settings dialog's rows; any other slot runs nothing.
std::optional<Command> commandForSlot(std::int32_t slot);

// The short name of a slot's command ("play-pause", "stop", "faster", "slower",
// "forward", "rewind", "repeat-start", "repeat-end", "timestamp",
// "goto-selection"): what
// `lirabox --command` takes and what the desktop's shortcut list calls it.
// Empty for a slot that runs nothing.
std::string_view slotCommandName(std::int32_t slot);
// The slot whose command has this name.
std::optional<std::int32_t> slotNamed(std::string_view name);

}  // namespace lirabox
