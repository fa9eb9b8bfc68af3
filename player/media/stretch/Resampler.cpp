#include "Resampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lirabox::media {
namespace {

constexpr int kHalfTaps = 16;
constexpr int kTaps = 2 * kHalfTaps;
constexpr int kPhases = 256;

double sinc(double x) { return x == 0.0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x); }

// Blackman window over -kHalfTaps .. kHalfTaps.
double window(double x) {
    const double t = (x / kHalfTaps + 1.0) / 2.0;
    if (t <= 0.0 || t >= 1.0) return 0.0;
    return 0.42 - 0.5 * std::cos(2 * std::numbers::pi * t) + 0.08 * std::cos(4 * std::numbers::pi * t);
}

}  // namespace

Resampler::Resampler(int channels, int inRate, int outRate)
    : mChannels(std::max(channels, 1)), mStep(static_cast<double>(std::max(inRate, 1)) / std::max(outRate, 1)) {
    // Below the lower of the two Nyquist frequencies, with a little room.
    const double cutoff = 0.95 * std::min(1.0, 1.0 / mStep);
    mTable.resize(static_cast<std::size_t>((kPhases + 1) * kTaps));
    for (int phase = 0; phase <= kPhases; ++phase) {
        const double fraction = static_cast<double>(phase) / kPhases;
        float* row = &mTable[static_cast<std::size_t>(phase * kTaps)];
        double sum = 0.0;
        for (int k = 0; k < kTaps; ++k) {
            const double x = (k - kHalfTaps + 1) - fraction;
            row[k] = static_cast<float>(cutoff * sinc(cutoff * x) * window(x));
            sum += row[k];
        }
        for (int k = 0; k < kTaps; ++k) row[k] = static_cast<float>(row[k] / sum);
    }
}

void Resampler::reset() {
    mInput.clear();
    mInputStart = 0;
    mInputEnd = 0;
    mNext = 0;
}

void Resampler::process(const float* samples, std::size_t frames, std::vector<float>& out) {
    mInput.insert(mInput.end(), samples, samples + frames * static_cast<std::size_t>(mChannels));
    mInputEnd += frames;
    produce(out, false);
}

void Resampler::finish(std::vector<float>& out) { produce(out, true); }

void Resampler::produce(std::vector<float>& out, bool ended) {
    const auto channels = static_cast<std::size_t>(mChannels);
    std::vector<float> frame(channels);
    while (true) {
        const double time = static_cast<double>(mNext) * mStep;
        const auto whole = static_cast<std::size_t>(time);
        if (ended ? time >= static_cast<double>(mInputEnd) : whole + kHalfTaps >= mInputEnd) break;
        const double phase = (time - static_cast<double>(whole)) * kPhases;
        const auto row = static_cast<int>(phase);
        const auto blend = static_cast<float>(phase - row);
        const float* lower = &mTable[static_cast<std::size_t>(row * kTaps)];
        const float* upper = lower + kTaps;
        std::fill(frame.begin(), frame.end(), 0.0f);
        for (int k = 0; k < kTaps; ++k) {
            // Input before the start or after the end is silence.
            const auto at = static_cast<std::ptrdiff_t>(whole) + k - kHalfTaps + 1;
            if (at < static_cast<std::ptrdiff_t>(mInputStart) || at >= static_cast<std::ptrdiff_t>(mInputEnd)) continue;
            const float coefficient = lower[k] + blend * (upper[k] - lower[k]);
            const float* input = &mInput[(static_cast<std::size_t>(at) - mInputStart) * channels];
            for (std::size_t c = 0; c < channels; ++c) frame[c] += coefficient * input[c];
        }
        out.insert(out.end(), frame.begin(), frame.end());
        ++mNext;
    }
    // Keep what the next output frames still reach back to.
    const double nextTime = static_cast<double>(mNext) * mStep;
    const auto keepFrom = static_cast<std::size_t>(std::max(nextTime - kHalfTaps, 0.0));
    if (keepFrom > mInputStart + 4096) {
        const std::size_t drop = std::min(keepFrom, mInputEnd) - mInputStart;
        mInput.erase(mInput.begin(), mInput.begin() + static_cast<std::ptrdiff_t>(drop * channels));
        mInputStart += drop;
    }
}

}  // namespace lirabox::media
