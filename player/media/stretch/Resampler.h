#pragma once
// Converts interleaved float PCM from one sample rate to another with a
// windowed-sinc interpolator (32 taps, low-passed below the lower Nyquist
// frequency). Output frame j is the input at time j × inRate / outRate exactly,
// so a count of output frames converts back to input frames by that ratio.

#include <cstddef>
#include <vector>

namespace lirabox::media {

class Resampler {
public:
    Resampler(int channels, int inRate, int outRate);

    void reset();
    // Appends to `out` every output frame the input so far allows.
    void process(const float* samples, std::size_t frames, std::vector<float>& out);
    // No more input until the next reset: appends the remaining output frames.
    void finish(std::vector<float>& out);

private:
    void produce(std::vector<float>& out, bool ended);

    int mChannels;
    double mStep;
    std::vector<float> mTable;  // kPhases + 1 rows of kTaps coefficients

    std::vector<float> mInput;  // interleaved, from mInputStart on
    std::size_t mInputStart = 0;
    std::size_t mInputEnd = 0;
    std::size_t mNext = 0;  // next output frame
};

}  // namespace lirabox::media
