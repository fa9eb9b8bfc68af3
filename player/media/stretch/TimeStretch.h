#pragma once
// Changes the speed of interleaved float PCM while keeping its pitch, by
// waveform-similarity overlap-add (WSOLA): frames of about 30 ms are taken
// from the input at a step of rate × half a frame and laid down at a step of
// half a frame, each frame shifted by up to ±10 ms to where it best continues
// the frame before it, so the waveforms join without phase jumps.
//
// Streaming: feed() blocks of any size, pull() whatever is ready; the rate may
// change between any two calls and takes effect from the next frame. reset()
// forgets everything (a seek). At rate 1 the output is the input unchanged.

#include <cstddef>
#include <deque>
#include <vector>

namespace lirabox::media {

class TimeStretch {
public:
    TimeStretch(int channels, int sampleRate);

    // Rates from 0.25 to 4 (others are clamped into that range).
    void setRate(double rate);
    double rate() const noexcept { return mRate; }
    int channels() const noexcept { return mChannels; }

    void reset();
    // `frames` frames of `channels()` interleaved samples each.
    void feed(const float* samples, std::size_t frames);
    // No more input until the next reset: the rest is made available.
    void endOfInput();

    // Copies up to `maxFrames` ready frames to `out`; returns how many.
    std::size_t pull(float* out, std::size_t maxFrames);
    std::size_t ready() const noexcept { return mOutput.size() / static_cast<std::size_t>(mChannels); }
    // True once endOfInput() was called and every frame has been pulled.
    bool finished() const noexcept { return mEnded && mOutput.empty(); }
    // Where in the input (frames since the last reset, fractional) the next
    // pulled frame comes from.
    double sourceFrameOfNextOutput() const noexcept;

private:
    struct Block {
        std::size_t frames;  // frames of this block still in mOutput
        double source;       // input frame of the block's next frame
        double rate;
    };

    bool inputCovers(double position) const;
    std::size_t bestFrameStart(double nominal);
    void downmix(std::size_t from, std::size_t frames, std::vector<float>& mono) const;
    void addFrame(std::size_t start);
    void dropConsumedInput();
    void makeFrames();
    float inputAt(std::size_t frame, int channel) const;

    int mChannels;
    std::size_t mFrame;      // frame length
    std::size_t mHop;        // output step, half a frame
    std::size_t mTolerance;  // largest shift of a frame, either way
    std::vector<float> mWindow;
    double mRate = 1.0;

    std::vector<float> mInput;    // interleaved, from mInputStart on
    std::size_t mInputStart = 0;  // input frame of mInput's first frame
    std::size_t mInputEnd = 0;    // input frames fed so far
    bool mEnded = false;
    bool mFirstFrame = true;
    double mNominal = 0.0;      // where the next frame would start at the exact rate
    std::size_t mPrevious = 0;  // where the last frame started
    std::vector<float> mMix;    // overlap-add of the frames, mFrame frames long
    std::vector<float> mMono;   // scratch for the search
    std::vector<float> mReference;
    std::deque<float> mOutput;
    std::deque<Block> mBlocks;
};

}  // namespace lirabox::media
