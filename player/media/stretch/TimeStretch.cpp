#include "TimeStretch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lirabox::media {
namespace {

constexpr double kFrameSeconds = 0.030;
constexpr double kToleranceSeconds = 0.010;
constexpr double kLowestRate = 0.25;
constexpr double kHighestRate = 4.0;

}  // namespace

TimeStretch::TimeStretch(int channels, int sampleRate) : mChannels(std::max(channels, 1)) {
    const double rate = std::max(sampleRate, 1000);
    mHop = static_cast<std::size_t>(std::lround(rate * kFrameSeconds / 2));
    mFrame = 2 * mHop;
    mTolerance = static_cast<std::size_t>(std::lround(rate * kToleranceSeconds));
    // A periodic Hann window: two of them half a frame apart add up to exactly 1.
    mWindow.resize(mFrame);
    for (std::size_t i = 0; i < mFrame; ++i) {
        mWindow[i] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / mFrame));
    }
    reset();
}

void TimeStretch::setRate(double rate) {
    mRate = std::isfinite(rate) ? std::clamp(rate, kLowestRate, kHighestRate) : 1.0;
}

void TimeStretch::reset() {
    mInput.clear();
    mInputStart = 0;
    mInputEnd = 0;
    mEnded = false;
    mFirstFrame = true;
    mNominal = 0.0;
    mPrevious = 0;
    mMix.assign(mFrame * static_cast<std::size_t>(mChannels), 0.0f);
    mOutput.clear();
    mBlocks.clear();
}

void TimeStretch::feed(const float* samples, std::size_t frames) {
    if (mEnded || frames == 0) return;
    mInput.insert(mInput.end(), samples, samples + frames * static_cast<std::size_t>(mChannels));
    mInputEnd += frames;
    makeFrames();
}

void TimeStretch::endOfInput() {
    if (mEnded) return;
    mEnded = true;
    makeFrames();
}

std::size_t TimeStretch::pull(float* out, std::size_t maxFrames) {
    const auto channels = static_cast<std::size_t>(mChannels);
    std::size_t done = 0;
    while (done < maxFrames && !mBlocks.empty()) {
        Block& block = mBlocks.front();
        const std::size_t take = std::min(block.frames, maxFrames - done);
        const auto count = static_cast<std::ptrdiff_t>(take * channels);
        std::copy(mOutput.begin(), mOutput.begin() + count, out + done * channels);
        mOutput.erase(mOutput.begin(), mOutput.begin() + count);
        done += take;
        block.frames -= take;
        block.source += static_cast<double>(take) * block.rate;
        if (block.frames == 0) mBlocks.pop_front();
    }
    return done;
}

double TimeStretch::sourceFrameOfNextOutput() const noexcept {
    return mBlocks.empty() ? mNominal : mBlocks.front().source;
}

float TimeStretch::inputAt(std::size_t frame, int channel) const {
    if (frame < mInputStart || frame >= mInputEnd) return 0.0f;
    return mInput[(frame - mInputStart) * static_cast<std::size_t>(mChannels) + static_cast<std::size_t>(channel)];
}

bool TimeStretch::inputCovers(double position) const { return mEnded || position <= static_cast<double>(mInputEnd); }

void TimeStretch::makeFrames() {
    while (true) {
        if (mEnded && mNominal >= static_cast<double>(mInputEnd)) return;
        const double needed = mFirstFrame ? static_cast<double>(mFrame)
                                          : std::max(mNominal + static_cast<double>(mTolerance + mFrame),
                                                     static_cast<double>(mPrevious + mHop + mFrame));
        if (!inputCovers(needed)) return;
        addFrame(mFirstFrame ? 0 : bestFrameStart(mNominal));
        mFirstFrame = false;
        mNominal += static_cast<double>(mHop) * mRate;
        dropConsumedInput();
    }
}

// The start within nominal ± tolerance whose first half frame is most like the
// natural continuation of the last frame (normalised cross-correlation).
std::size_t TimeStretch::bestFrameStart(double nominal) {
    const std::size_t natural = mPrevious + mHop;
    const auto center = static_cast<std::size_t>(std::llround(nominal));
    const std::size_t low = std::max(center > mTolerance ? center - mTolerance : 0, mInputStart);
    const std::size_t high = std::max(center + mTolerance, low);
    // At the natural speed the natural continuation is the input itself.
    if (mRate == 1.0 && natural >= low && natural <= high) return natural;

    const std::size_t length = mHop;
    downmix(low, high - low + 2 * length, mMono);
    downmix(natural, length, mReference);
    const std::vector<float>& mono = mMono;
    const std::vector<float>& reference = mReference;

    double energy = 0.0;
    for (std::size_t i = 0; i < length; ++i) energy += static_cast<double>(mono[i]) * mono[i];
    std::size_t best = center;
    double bestScore = -1e300;
    for (std::size_t start = low; start <= high; ++start) {
        const float* candidate = mono.data() + (start - low);
        double correlation = 0.0;
        for (std::size_t i = 0; i < length; ++i) correlation += static_cast<double>(reference[i]) * candidate[i];
        const double score = correlation / std::sqrt(std::max(energy, 1e-9));
        const auto distance = [center](std::size_t at) { return at > center ? at - center : center - at; };
        const bool closer = distance(start) < distance(best);
        if (score > bestScore + 1e-9 || (score > bestScore - 1e-9 && closer)) {
            bestScore = score;
            best = start;
        }
        const double leaving = candidate[0];
        const double entering = candidate[length];
        energy = std::max(energy - leaving * leaving + entering * entering, 0.0);
    }
    return best;
}

void TimeStretch::downmix(std::size_t from, std::size_t frames, std::vector<float>& mono) const {
    mono.resize(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < mChannels; ++c) sum += inputAt(from + i, c);
        mono[i] = sum;
    }
}

void TimeStretch::addFrame(std::size_t start) {
    const auto channels = static_cast<std::size_t>(mChannels);
    for (std::size_t i = 0; i < mFrame; ++i) {
        // The first frame after a reset has nothing to fade into.
        const float weight = mFirstFrame && i < mHop ? 1.0f : mWindow[i];
        for (int c = 0; c < mChannels; ++c)
            mMix[i * channels + static_cast<std::size_t>(c)] += weight * inputAt(start + i, c);
    }
    // The first half frame is complete; only its part before the end of the
    // input is sound.
    std::size_t emit = mHop;
    if (mEnded) {
        const double left = (static_cast<double>(mInputEnd) - mNominal) / mRate;
        emit = std::min(emit, static_cast<std::size_t>(std::max(std::ceil(left), 0.0)));
    }
    if (emit > 0) {
        mOutput.insert(mOutput.end(), mMix.begin(), mMix.begin() + static_cast<std::ptrdiff_t>(emit * channels));
        mBlocks.push_back({emit, mNominal, mRate});
    }
    std::copy(mMix.begin() + static_cast<std::ptrdiff_t>(mHop * channels), mMix.end(), mMix.begin());
    std::fill(mMix.end() - static_cast<std::ptrdiff_t>(mHop * channels), mMix.end(), 0.0f);
    mPrevious = start;
}

void TimeStretch::dropConsumedInput() {
    const double nominalLow = mNominal - static_cast<double>(mTolerance);
    const std::size_t keepFrom =
        std::min(mPrevious + mHop, nominalLow > 0 ? static_cast<std::size_t>(nominalLow) : std::size_t {0});
    // Dropped in large steps, so the copying stays cheap.
    if (keepFrom < mInputStart + 4 * mFrame) return;
    const std::size_t drop = std::min(keepFrom, mInputEnd) - mInputStart;
    mInput.erase(mInput.begin(),
                 mInput.begin() + static_cast<std::ptrdiff_t>(drop * static_cast<std::size_t>(mChannels)));
    mInputStart += drop;
}

}  // namespace lirabox::media
