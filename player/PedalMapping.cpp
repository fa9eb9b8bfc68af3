#include "PedalMapping.h"

#include "support/ConfigFiles.h"
#include "support/clsIniFile.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace lirabox {
namespace {

struct NamedAction {
    std::string_view name;  // the value stored in the file
    PedalAction action;
};

constexpr PedalAction run(Command command) { return {PedalUse::RunCommand, command}; }

constexpr std::array<NamedAction, kPedalChoiceCount> kActions {{
    {"Nothing", {PedalUse::Nothing, Command::PlayPause}},
    {"PlayWhileHeld", {PedalUse::PlayWhileHeld, Command::PlayPause}},
    {"PlayPause", run(Command::PlayPause)},
    {"Play", run(Command::Play)},
    {"Pause", run(Command::Pause)},
    {"Stop", run(Command::Stop)},
    {"Faster", run(Command::Faster)},
    {"Slower", run(Command::Slower)},
    {"FastForward", run(Command::FastForward)},
    {"Rewind", run(Command::Rewind)},
    {"RepeatStart", run(Command::RepeatStart)},
    {"RepeatEnd", run(Command::RepeatEnd)},
}};

constexpr std::array<PedalAction, kActions.size()> kChoices = [] {
    std::array<PedalAction, kActions.size()> choices {};
    for (std::size_t i = 0; i < kActions.size(); ++i) choices[i] = kActions[i].action;
    return choices;
}();

constexpr std::array<std::string_view, kPedalCount> kKeys {
    config::kKeyPedalLeft, config::kKeyPedalMiddle, config::kKeyPedalRight};

std::string_view nameOf(const PedalAction& action) {
    const auto found = std::find_if(
        kActions.begin(), kActions.end(), [&](const NamedAction& named) { return named.action == action; });
    return found == kActions.end() ? kActions.front().name : found->name;
}

}  // namespace

PedalMapping defaultPedalMapping() {
    return {run(Command::Rewind), PedalAction {PedalUse::PlayWhileHeld, Command::PlayPause}, run(Command::FastForward)};
}

std::span<const PedalAction, kPedalChoiceCount> pedalChoices() { return kChoices; }

bool repeatsWhileHeld(const PedalAction& action) {
    return action.use == PedalUse::RunCommand &&
           (action.command == Command::Rewind || action.command == Command::FastForward);
}

PedalMapping readPedalMapping(clsIniFile& userIni) {
    clsIniFile reader = userIni;
    reader.setNothingWrite(false);
    PedalMapping mapping = defaultPedalMapping();
    for (std::size_t pedal = 0; pedal < kPedalCount; ++pedal) {
        const std::string stored = reader.ReadString(
            std::string(config::kPedalSection), std::string(kKeys[pedal]), std::string(nameOf(mapping[pedal])));
        const auto found = std::find_if(
            kActions.begin(), kActions.end(), [&](const NamedAction& named) { return named.name == stored; });
        if (found != kActions.end()) mapping[pedal] = found->action;
    }
    return mapping;
}

bool writePedalMapping(clsIniFile& userIni, const PedalMapping& mapping) {
    std::vector<clsIniFile::Entry> entries;
    for (std::size_t pedal = 0; pedal < kPedalCount; ++pedal) {
        entries.push_back(
            {std::string(config::kPedalSection), std::string(kKeys[pedal]), std::string(nameOf(mapping[pedal]))});
    }
    return userIni.WriteStrings(entries);
}

}  // namespace lirabox
