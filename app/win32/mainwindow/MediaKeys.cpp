#include "MediaKeys.h"

namespace lirabox::win32 {

std::optional<Command> mediaKeyCommand(WPARAM virtualKey) {
    switch (virtualKey) {
    case VK_MEDIA_PLAY_PAUSE: return Command::PlayPause;
    case VK_MEDIA_STOP: return Command::Stop;
    case VK_MEDIA_NEXT_TRACK: return Command::FastForward;
    case VK_MEDIA_PREV_TRACK: return Command::Rewind;
    default: return std::nullopt;
    }
}

std::optional<Command> appCommandCommand(short appCommand) {
    switch (appCommand) {
    case APPCOMMAND_MEDIA_PLAY_PAUSE: return Command::PlayPause;
    case APPCOMMAND_MEDIA_PLAY: return Command::Play;
    case APPCOMMAND_MEDIA_PAUSE: return Command::Pause;
    case APPCOMMAND_MEDIA_STOP: return Command::Stop;
    case APPCOMMAND_MEDIA_NEXTTRACK:
    case APPCOMMAND_MEDIA_FAST_FORWARD: return Command::FastForward;
    case APPCOMMAND_MEDIA_PREVIOUSTRACK:
    case APPCOMMAND_MEDIA_REWIND: return Command::Rewind;
    default: return std::nullopt;
    }
}

}  // namespace lirabox::win32
