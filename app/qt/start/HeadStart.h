#pragma once
// Playing starts before the window's toolkit is loaded. The `lirabox`
// executable loads liblirabox-start.so (libmpv, no Qt) and calls
// lirabox_start_playing() first; the player's program, loaded next, takes the
// engine over with takeStartedEngine(). The recording named on the command
// line is then heard while Qt loads, as the program plays it: from the given
// second, or where it was left when resuming is on, at the saved volume and
// levelling. The program's own start takes the sound over where it is (see
// MpvEngine::keepPlayingForTakeover); whatever it decides otherwise, it sets.
//
// Nothing plays when there is no recording, for --help and --version, when
// another copy runs (this one hands the recording over), or when the file is
// not loaded within a moment: the engine is then passed on with the load
// begun, and the window shows the rest of it.
//
// Threads: the main thread, before any other thread runs; call once.

#include <memory>
#include <string>

#include "player/media/mpv/MpvEngine.h"

namespace lirabox {

struct ProgramArguments {
    bool verbose = false;  // --verbose came first: every step skipped after a failure is logged
    std::string text;      // the other arguments as one text (argumentText)
};
ProgramArguments programArguments(int argc, char** argv);

// The engine lirabox_start_playing() started (null: none); the caller owns it
// from then on, on the same thread.
std::unique_ptr<media::MpvEngine> takeStartedEngine();

}  // namespace lirabox

extern "C" void lirabox_start_playing(int argc, char** argv);
