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

// The command a shortcut-key slot (the message's wParam) runs: slots 0..8 in
// the order of the settings dialog's rows; any other slot runs nothing.
std::optional<Command> commandForSlot(std::int32_t slot);

// The short name of a slot's command ("play-pause", "stop", "faster", "slower",
// "forward", "rewind", "repeat-start", "repeat-end", "timestamp"): what
// `lirabox --command` takes and what the desktop's shortcut list calls it.
// Empty for a slot that runs nothing.
std::string_view slotCommandName(std::int32_t slot);
// The slot whose command has this name.
std::optional<std::int32_t> slotNamed(std::string_view name);

}  // namespace lirabox
