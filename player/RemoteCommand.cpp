#include "RemoteCommand.h"

#include "Command.h"
#include "support/UiText.h"

#include <charconv>
#include <cmath>

namespace lirabox {
namespace {

constexpr UiText kUnknownCommand = LIRABOX_TEXT("main", "unknown command");
constexpr UiText kCommandList = LIRABOX_TEXT(
    "main",
    "the commands are play-pause, stop, faster, slower, forward, rewind, repeat-start, repeat-end, timestamp, "
    "goto-selection, open FILE and goto SECONDS");
constexpr UiText kNeedsFile = LIRABOX_TEXT("main", "open needs the recording's full path");
constexpr UiText kNeedsSeconds = LIRABOX_TEXT("main", "goto needs a number of seconds, 0 or more");
constexpr UiText kTooManyWords = LIRABOX_TEXT("main", "too many words after the command");

std::string unknown(const std::string& name) {
    return shown(kUnknownCommand) + " \"" + name + "\": " + shown(kCommandList);
}

}  // namespace

std::optional<double> remoteSeconds(const std::string& text) {
    double seconds = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(seconds) || seconds < 0) {
        return std::nullopt;
    }
    return seconds;
}

std::variant<RemoteCommand, std::string> parseRemoteCommand(const std::vector<std::string>& words,
                                                            const std::filesystem::path& startFolder) {
    if (words.empty()) return shown(kCommandList);
    const std::string& name = words.front();
    const bool takesArgument = name == "open" || name == "goto";
    if (!takesArgument && !slotNamed(name)) return unknown(name);
    if (words.size() > (takesArgument ? 2U : 1U)) return shown(kTooManyWords);
    if (!takesArgument) return RemoteCommand {name, {}};
    const std::string argument = words.size() == 2 ? words[1] : std::string();
    if (name == "goto") {
        if (!remoteSeconds(argument)) return shown(kNeedsSeconds);
        return RemoteCommand {name, argument};
    }
    const std::filesystem::path path(argument);
    if (path.is_absolute()) return RemoteCommand {name, argument};
    if (argument.empty() || startFolder.empty()) return shown(kNeedsFile);
    return RemoteCommand {name, (startFolder / path).lexically_normal().string()};
}

}  // namespace lirabox
