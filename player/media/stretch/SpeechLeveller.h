#pragma once
// Evens out the loudness of speech: a quiet voice is raised and a loud one
// lowered toward one speech level, so two speakers recorded far apart in level
// end up alike. It looks at 10 ms blocks: only blocks loud enough to be speech
// move the level it follows (the latest 0.4 s of speech), so the gain stays put
// through pauses and their background noise is not pumped up. The gain falls
// at once where a sample would pass the ceiling, and rises slowly. No
// look-ahead: every sample comes out as it goes in, at the gain earlier
// samples decided.
//
// Plain C++, one thread at a time; interleaved float samples, -1 .. 1.

#include <array>
#include <cstddef>

namespace lirabox::media {

class SpeechLeveller {
public:
    // The speech level it aims at (RMS, -20 dBFS) and the most it raises a
    // voice (+20 dB).
    static constexpr double kTargetLevel = 0.1;
    static constexpr double kMostGain = 10.0;

    SpeechLeveller(int channels, int sampleRate);

    // Levels `frames` interleaved frames in place.
    void process(float* samples, std::size_t frames);

private:
    void reset();
    void endBlock();

    std::size_t mChannels;
    std::size_t mBlockFrames;
    double mRiseStep;  // how far one frame moves a rising gain
    // The mean squares of the latest 40 speech blocks (0.4 s of speech), a ring.
    std::array<double, 40> mSpeech {};
    std::size_t mSpeechAt = 0;
    double mSpeechSum = 0.0;
    double mGain = 1.0;
    double mWanted = 1.0;  // the gain the last whole block asked for
    // The block being measured.
    double mBlockSum = 0.0;
    std::size_t mBlockCount = 0;
};

}  // namespace lirabox::media
