// The sound engine alone, without the program around it: started on the
// recording the way the program starts it (ahead, on a thread of its own, then
// taken over), playing until it is ended. bench/player/start_to_sound.py times
// its start -> first sound beside the whole program's and mpv's, which tells
// what of the program's start is the engine's own.
//   engine_first_sound RECORDING

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <memory>

#include "player/media/mpv/MpvEngine.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: engine_first_sound RECORDING\n");
        return 2;
    }
    std::unique_ptr<lirabox::media::MpvEngine> engine;
    try {
        engine = lirabox::media::startMpvEngine(argv[1]).get();
        engine->URL(argv[1]);
        engine->controls().play();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "engine_first_sound: %s\n", error.what());
        return 1;
    }
    ::pause();  // until it is ended
}
