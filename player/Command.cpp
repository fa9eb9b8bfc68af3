#include "Command.h"

#include <array>

namespace lirabox {

std::optional<Command> commandForSlot(std::int32_t slot) {
    static constexpr std::array<Command, 9> kSlots{
        Command::PlayPause,   Command::Stop,   Command::Faster,      Command::Slower,    Command::FastForward,
        Command::Rewind,      Command::RepeatStart, Command::RepeatEnd, Command::InsertTimeStamp,
    };
    if (slot < 0 || slot >= static_cast<std::int32_t>(kSlots.size())) return std::nullopt;
    return kSlots[static_cast<std::size_t>(slot)];
}

}  // namespace lirabox
