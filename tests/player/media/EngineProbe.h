#pragma once
// Helpers for driving the real engine in tests: waiting for a state without
// spinning, and rendering a recording through libmpv's PCM output at a rate.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "PcmAnalysis.h"
#include "player/media/mpv/MpvEngine.h"

namespace lirabox::test {

// Waits (woken by the engine's events, re-checking at least every 20 ms) until
// `condition` holds; false when `limit` passes first. The limit is only a
// safety net against a hang, not a measurement.
bool waitUntil(lirabox::media::MpvEngine& engine, const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(30));

// Plays `recording` from 0 to its end at `rate`, `volume` (0 .. 100) and with
// or without levelling (all set before the load) through libmpv's PCM file
// output (as fast as it can, mono 16-bit 44.1 kHz) into `wavOut`.
void renderAtRate(const std::filesystem::path& recording, double rate, const std::filesystem::path& wavOut,
                  std::int32_t volume = 100, bool evenLoudness = false);

enum class RateChange { WhilePlaying, WhilePaused };

// Plays `recording` at rate 1.0 through libmpv's PCM output into a pipe that
// is read here slowly; once `before` seconds of sound have come out it sets
// `rate` (while playing, or between a pause and the next play) and reads on to
// the end. Returns the whole output as a WAV image.
std::vector<unsigned char> renderWithRateChange(const std::filesystem::path& recording, double before, double rate,
                                                RateChange how);

}  // namespace lirabox::test
