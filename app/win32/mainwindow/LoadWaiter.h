#pragma once
// The Windows program's side of a slow open (the engine's URL() waits for a
// disk that spins up, a network share): the busy cursor, the message queue
// worked off except for keyboard and mouse input (keys are held back for
// after the load, KeysDuringLoad), and a close (WM_CLOSE, Ctrl+Q, Alt+F4)
// that gives the load up at once and is carried out when URL() has returned.

#include "MainWindow.h"
#include "player/media/MediaEngine.h"

namespace lirabox::win32 {

void installLoadWaiter(media::MediaEngine& engine, MainWindow& window);

}  // namespace lirabox::win32
