#pragma once
// Background work that must never hold up the program's own threads or
// playback: the calling thread is put at the system's lowest priority.
// Failures are ignored (the work still runs, at normal priority).

namespace lirabox {

void lowerThisThreadPriority() noexcept;

}  // namespace lirabox
