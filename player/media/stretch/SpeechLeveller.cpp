#include "SpeechLeveller.h"

#include <algorithm>
#include <cmath>

namespace lirabox::media {
namespace {

constexpr double kBlockSeconds = 0.01;
constexpr double kRiseSeconds = 0.5;
// Blocks below this RMS (-50 dBFS) are pauses or breath: the level followed holds.
constexpr double kSpeechFloor = 0.00316;
// The highest a sample may reach after levelling.
constexpr double kCeiling = 0.9;
constexpr double kLeastGain = 0.05;

}  // namespace

SpeechLeveller::SpeechLeveller(int channels, int sampleRate)
    : mChannels(static_cast<std::size_t>(std::max(channels, 1))),
      mBlockFrames(static_cast<std::size_t>(std::max(1.0, std::round(std::max(sampleRate, 1) * kBlockSeconds)))),
      mRiseStep(1.0 - std::exp(-1.0 / (std::max(sampleRate, 1) * kRiseSeconds))) {
    reset();
}

void SpeechLeveller::reset() {
    mSpeech.fill(kTargetLevel * kTargetLevel);
    mSpeechSum = kTargetLevel * kTargetLevel * static_cast<double>(mSpeech.size());
    mSpeechAt = 0;
    mGain = 1.0;
    mWanted = 1.0;
    mBlockSum = 0.0;
    mBlockCount = 0;
}

void SpeechLeveller::process(float* samples, std::size_t frames) {
    for (std::size_t f = 0; f < frames; ++f) {
        float* frame = samples + f * mChannels;
        double peak = 0.0;
        for (std::size_t c = 0; c < mChannels; ++c) {
            peak = std::max(peak, static_cast<double>(std::abs(frame[c])));
            mBlockSum += static_cast<double>(frame[c]) * frame[c];
        }
        if (mGain < mWanted) mGain += (mWanted - mGain) * mRiseStep;
        if (peak * mGain > kCeiling) mGain = kCeiling / peak;
        for (std::size_t c = 0; c < mChannels; ++c) frame[c] = static_cast<float>(frame[c] * mGain);
        if (++mBlockCount == mBlockFrames) endBlock();
    }
}

void SpeechLeveller::endBlock() {
    const double meanSquare = mBlockSum / static_cast<double>(mBlockFrames * mChannels);
    // The level is the power of the latest speech blocks alone, so a quiet
    // voice after a loud one is reached as fast as a loud one after a quiet one.
    if (meanSquare > kSpeechFloor * kSpeechFloor) {
        mSpeechSum += meanSquare - mSpeech[mSpeechAt];
        mSpeech[mSpeechAt] = meanSquare;
        mSpeechAt = (mSpeechAt + 1) % mSpeech.size();
    }
    const double level = std::sqrt(std::max(mSpeechSum, 0.0) / static_cast<double>(mSpeech.size()));
    mWanted = std::clamp(kTargetLevel / level, kLeastGain, kMostGain);
    // A falling gain falls at once; a rising one rises frame by frame.
    mGain = std::min(mGain, mWanted);
    mBlockSum = 0.0;
    mBlockCount = 0;
}

}  // namespace lirabox::media
