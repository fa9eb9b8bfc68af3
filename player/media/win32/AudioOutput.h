#pragma once
// Where the engine's sound goes: interleaved float frames at the output's own
// rate and channel count, and a clock of the frames actually played. Used
// from the engine's playback thread only.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace lirabox::media {

// How far the engine writes ahead of what is heard: a seek or a pause is
// heard after this, and the playback thread may be late by a little less
// before the sound breaks up. Four periods of a shared-mode stream (10 ms each
// on Windows and under Wine); the sound device's output grows it while its
// feeds come late (OutputLead.h).
inline constexpr double kOutputLead = 0.04;  // seconds

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    virtual int sampleRate() const = 0;
    virtual int channels() const = 0;
    // Frames that can be written now without waiting, and without queuing
    // more than the lead (kOutputLead, or more) ahead of the sound heard.
    virtual std::size_t writable() = 0;
    virtual void write(const float* samples, std::size_t frames) = 0;
    // Frames played since the last reset.
    virtual std::uint64_t played() = 0;
    virtual void start() = 0;
    virtual void pause() = 0;
    // Drops what is queued and sets the clock back to 0 (paused).
    virtual void reset() = 0;
};

// The default sound device in shared mode, or null (with a trace of why)
// when there is none that can be used.
std::unique_ptr<AudioOutput> openWasapiOutput();

// No sound: the clock runs in real time over what is written, so positions
// advance as if it played.
std::unique_ptr<AudioOutput> openSilentOutput(int sampleRate, int channels);

}  // namespace lirabox::media
