#pragma once
// Background work that must never hold up the program's own threads or
// playback: the calling thread is put at the lowest priority that still gets
// a share of a busy core, so a thread that waits for it to stop is not kept
// waiting. Failures are ignored (the work still runs, at normal priority).

namespace lirabox {

void lowerThisThreadPriority() noexcept;

}  // namespace lirabox
