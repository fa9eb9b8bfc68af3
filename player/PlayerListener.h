#pragma once
// What the player tells the views and outside interfaces that follow it (the
// one-line window, media-key interfaces, tests). Every call comes on the UI
// thread, after the change has been made. A listener overrides only what it
// needs.

#include <cstdint>
#include <string>

namespace lirabox {

class PlayerListener {
public:
    virtual ~PlayerListener() = default;

    // Playback started, or ended by pause, stop or the end of the recording.
    virtual void playingChanged(bool /*playing*/) {}
    // The position tick while playing: the value Timepost receives, in seconds.
    virtual void positionTicked(double /*seconds*/) {}
    // The position was moved by a command (step back, rewind, fast-forward,
    // stop, seek, repeat jump), not by playing on.
    virtual void positionJumped(double /*seconds*/) {}
    // The player's rate (1.0 = normal speed).
    virtual void rateChanged(double /*rate*/) {}
    // A recording was loaded: its file name and length in seconds.
    virtual void recordingLoaded(const std::string& /*name*/, double /*seconds*/) {}
    // A load failed and no recording is loaded any more.
    virtual void recordingUnloaded() {}
    // The repeat marks, in whole seconds.
    virtual void repeatMarksChanged(std::int32_t /*start*/, std::int32_t /*end*/) {}
    // The volume slider's value, 0 .. 5000.
    virtual void volumeChanged(std::int32_t /*value*/) {}
};

}  // namespace lirabox
