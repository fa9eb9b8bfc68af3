#pragma once
// Opens a recording once and checks it (a plain, readable file whose chunks
// fit in it) on a thread of its own, so that a slow disk holds up neither the
// caller's windows nor the load's time limit. The decoder is then handed the
// very file that was checked (its open descriptor), never the path again.
//
// Threading: construct, wait and take on one thread (the engine's caller);
// the opening thread touches nothing but state it shares with this object.
// Destroying an opening that has not finished abandons it: the thread ends
// on its own once the system's open returns, and what it opened is closed.

#include <chrono>
#include <cstdint>
#include <string>

#include "player/media/DetachedWork.h"

namespace lirabox::media {

class RecordingOpening {
public:
    // Starts opening `path` (UTF-8).
    explicit RecordingOpening(const std::string& path);
    ~RecordingOpening();
    RecordingOpening(const RecordingOpening&) = delete;
    RecordingOpening& operator=(const RecordingOpening&) = delete;

    // Waits at most `longest` for the opening to finish; true once it has.
    bool waitFor(std::chrono::milliseconds longest);

    // Once finished: the open descriptor, which the caller then owns. Throws
    // the engine's error (kErrCannotOpen: missing, a folder, not a plain file,
    // unreadable; kErrNotPlayable: chunks claiming more than the file holds).
    int takeDescriptor();

private:
    struct Outcome {
        int descriptor = -1;
        std::int32_t errorCode = 0;
        std::string errorText;
    };
    static Outcome openChecked(const std::string& path);
    // Closes the descriptor (when open) and gives the refusal.
    static Outcome refused(int descriptor, std::int32_t code, std::string text);

    DetachedWork<Outcome> mWork;
};

}  // namespace lirabox::media
