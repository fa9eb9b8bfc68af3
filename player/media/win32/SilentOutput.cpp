#include <algorithm>
#include <chrono>

#include "AudioOutput.h"

namespace lirabox::media {
namespace {

using Clock = std::chrono::steady_clock;

class SilentOutput final : public AudioOutput {
public:
    SilentOutput(int sampleRate, int channels) : mRate(sampleRate), mChannels(channels) {}
    int sampleRate() const override { return mRate; }
    int channels() const override { return mChannels; }
    std::size_t writable() override {
        const std::uint64_t room = played() + static_cast<std::uint64_t>(kOutputLead * mRate);
        return room > mWritten ? static_cast<std::size_t>(room - mWritten) : 0;
    }
    void write(const float*, std::size_t frames) override { mWritten += frames; }
    std::uint64_t played() override {
        std::uint64_t frames = mPlayedBefore;
        if (mRunning) {
            const double seconds = std::chrono::duration<double>(Clock::now() - mStartedAt).count();
            frames += static_cast<std::uint64_t>(seconds * mRate);
        }
        return std::min(frames, mWritten);
    }
    void start() override {
        if (mRunning) return;
        mRunning = true;
        mStartedAt = Clock::now();
    }
    void pause() override {
        if (!mRunning) return;
        mPlayedBefore = played();
        mRunning = false;
    }
    void reset() override {
        mRunning = false;
        mPlayedBefore = 0;
        mWritten = 0;
    }

private:
    int mRate;
    int mChannels;
    bool mRunning = false;
    Clock::time_point mStartedAt;
    std::uint64_t mPlayedBefore = 0;
    std::uint64_t mWritten = 0;
};

}  // namespace

std::unique_ptr<AudioOutput> openSilentOutput(int sampleRate, int channels) {
    return std::make_unique<SilentOutput>(sampleRate, channels);
}

}  // namespace lirabox::media
