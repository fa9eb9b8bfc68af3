#pragma once
// Measuring rendered or captured sound: reading 16-bit WAV images, the
// strongest frequency and the level. Plain C++, for the tests of every engine.

#include <filesystem>
#include <vector>

namespace lirabox::test {

struct Pcm {
    int sampleRate = 0;
    std::vector<double> samples;  // mono, -1 .. 1
    double seconds() const { return sampleRate > 0 ? static_cast<double>(samples.size()) / sampleRate : 0.0; }
};

// Reads a mono 16-bit PCM WAV (the data chunk is taken to the end of the file).
Pcm readPcmWav(const std::filesystem::path& path);
Pcm readPcmWav(const std::vector<unsigned char>& bytes);

// The strongest frequency between `low` and `high` Hz in the middle second of
// `pcm`, scanned in 0.5 Hz steps.
double dominantFrequency(const Pcm& pcm, double low, double high);

// The root mean square of the samples in the middle half of `pcm`.
double rms(const Pcm& pcm);
// The same of the samples from `from` to `to` seconds, in dB of full scale.
double levelDb(const Pcm& pcm, double from, double to);

// The levels (dBFS) of a recording of writeTwoSpeakerWav as it came out,
// after its first round (which a leveller spends finding its level): the
// quiet and the loud voice over the middle 2 s of each turn, and the loudest
// half second of any pause.
struct TwoSpeakerLevels {
    double quiet = 0.0;
    double loud = 0.0;
    double loudestPause = 0.0;
};
TwoSpeakerLevels twoSpeakerLevels(const Pcm& pcm, int rounds);

}  // namespace lirabox::test
