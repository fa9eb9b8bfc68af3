#pragma once
// The keyboard's and headset's media keys while a window of the program is in
// front: play/pause, play, pause and stop do so; the track keys step through
// the recording as fast-forward and rewind do (there is one recording). They
// come as virtual keys (WM_KEYDOWN) or, from remote controls and keys the
// system turns into commands, as WM_APPCOMMAND.

#include "player/Command.h"

#include <optional>

#include <windows.h>

namespace lirabox::win32 {

std::optional<Command> mediaKeyCommand(WPARAM virtualKey);
// For the command of a WM_APPCOMMAND's lParam (GET_APPCOMMAND_LPARAM).
std::optional<Command> appCommandCommand(short appCommand);

}  // namespace lirabox::win32
