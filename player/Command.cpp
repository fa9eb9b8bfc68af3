#include "Command.h"

#include <array>

namespace lirabox {
namespace {

struct Slot {
    Command command;
    std::string_view name;
};

constexpr std::array<Slot, kCommandSlots> kSlots {{
    {Command::PlayPause, "play-pause"},
    {Command::Stop, "stop"},
    {Command::Faster, "faster"},
    {Command::Slower, "slower"},
    {Command::FastForward, "forward"},
    {Command::Rewind, "rewind"},
    {Command::RepeatStart, "repeat-start"},
    {Command::RepeatEnd, "repeat-end"},
    {Command::InsertTimeStamp, "timestamp"},
    {Command::GoToSelection, "goto-selection"},
}};

bool isSlot(std::int32_t slot) { return slot >= 0 && slot < static_cast<std::int32_t>(kSlots.size()); }

}  // namespace

std::optional<Command> commandForSlot(std::int32_t slot) {
    if (!isSlot(slot)) return std::nullopt;
    return kSlots[static_cast<std::size_t>(slot)].command;
}

std::string_view slotCommandName(std::int32_t slot) {
    if (!isSlot(slot)) return {};
    return kSlots[static_cast<std::size_t>(slot)].name;
}

std::optional<std::int32_t> slotNamed(std::string_view name) {
    for (std::size_t slot = 0; slot < kSlots.size(); ++slot) {
        if (kSlots[slot].name == name) return static_cast<std::int32_t>(slot);
    }
    return std::nullopt;
}

}  // namespace lirabox
