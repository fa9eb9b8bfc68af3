#pragma once
// Opens a recording once and checks it (a plain, readable file whose chunks
// fit in it) on a thread of its own, so that a slow disk holds up neither the
// caller's windows nor the load's time limit. The decoder is then handed the
// very file that was checked (its open descriptor), never the path again.
//
// Threading: construct, wait and take on one thread (the engine's caller);
// the opening thread touches nothing but state it shares with this object.
// Destroying an opening that has not finished abandons it: the thread ends
// on its own once the system's open returns and closes what it opened.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

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
    struct Shared;
    std::shared_ptr<Shared> mShared;
};

}  // namespace lirabox::media
