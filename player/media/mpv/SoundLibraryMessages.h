#pragma once
// What the sound libraries under libmpv print on their own while libmpv looks
// for an output: on a machine without a sound device ALSA writes a dozen
// "ALSA lib ..." lines to standard error and PipeWire two more, none of which
// the user can act on (the engine plays silently then).
//
// ALSA's messages become traces (support/Trace.h), shown with --verbose;
// PipeWire's log is switched off unless the run is verbose or the user set
// PIPEWIRE_DEBUG.
//
// Threads: call at the start of main(), before any other thread runs: it sets
// an environment variable. Only the process's first call acts. The ALSA handler then runs on libmpv's
// audio threads and only hands each line to trace().

namespace lirabox::media {

void routeSoundLibraryMessages(bool verbose);

}  // namespace lirabox::media
