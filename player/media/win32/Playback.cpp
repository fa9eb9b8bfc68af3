#include "Playback.h"

#include <windows.h>
#include <mfapi.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>

namespace lirabox::media {
namespace {

constexpr std::size_t kChunk = 2048;  // frames pulled from the stretch at a time
constexpr auto kFeedInterval = std::chrono::milliseconds(10);
// How long a paused output keeps running before it is stopped (a running
// output keeps the computer awake).
constexpr auto kLongestIdleRun = std::chrono::seconds(30);
// A silent clock runs at the usual mix format of a shared-mode device.
constexpr int kSilentRate = 48000;
constexpr int kSilentChannels = 2;
// Reads of the position between two updates of the playback thread run on
// from the last one, but never further than this.
constexpr double kLongestRunOn = 0.1;

}  // namespace

Playback::Playback() : mThread([this] { loop(); }) {}

Playback::~Playback() {
    {
        std::lock_guard lock(mMutex);
        mRequests.quit = true;
        ++mRequestCount;
    }
    mChanged.notify_all();
    mThread.join();
}

std::uint64_t Playback::open(const std::string& path) {
    std::lock_guard lock(mMutex);
    mRequests.openPath = path;
    mRequests.playing = false;
    mRequests.seekTarget = 0.0;
    mReadFloor = 0.0;
    ++mRequestCount;
    mChanged.notify_all();
    return ++mRequests.openSerial;
}

std::optional<Playback::Opened> Playback::waitForOpen(std::uint64_t serial, std::chrono::milliseconds wait) {
    std::unique_lock lock(mMutex);
    if (!mChanged.wait_for(lock, wait, [&] { return mPublished.openAnswered >= serial; })) return std::nullopt;
    return mPublished.opened;
}

void Playback::close() {
    std::lock_guard lock(mMutex);
    mRequests.closeSerial = mRequests.openSerial;
    mRequests.playing = false;
    ++mRequestCount;
    mChanged.notify_all();
}

void Playback::run(bool playing) {
    std::lock_guard lock(mMutex);
    if (mRequests.playing == playing) return;
    mRequests.playing = playing;
    if (!playing) {
        // Frozen where it is now, not where the playback thread last looked.
        mPublished.position = runOnPosition();
        mPublished.advancing = false;
    }
    ++mRequestCount;
    mChanged.notify_all();
}

void Playback::seek(double seconds) {
    std::lock_guard lock(mMutex);
    ++mRequests.seekSerial;
    mRequests.seekTarget = seconds;
    mReadFloor = 0.0;
    ++mRequestCount;
    mChanged.notify_all();
}

void Playback::setRate(double rate) {
    std::lock_guard lock(mMutex);
    mRequests.rate = rate;
    ++mRequestCount;
    mChanged.notify_all();
}

void Playback::setGain(double gain) {
    std::lock_guard lock(mMutex);
    mRequests.gain = gain;
    ++mRequestCount;
    mChanged.notify_all();
}

void Playback::setLevelling(bool on) {
    std::lock_guard lock(mMutex);
    mRequests.levelling = on;
    ++mRequestCount;
    mChanged.notify_all();
}

Playback::Clock Playback::clock() {
    std::lock_guard lock(mMutex);
    if (mPublished.seekApplied < mRequests.seekSerial) return {mRequests.seekTarget, false};
    // The run-on may have gone a little past what the output turns out to
    // have played at the next update (or the output has not started yet):
    // short of a seek or another recording, no read goes back behind an earlier one.
    mReadFloor = std::max(runOnPosition(), mReadFloor);
    return {mReadFloor, mPublished.ended};
}

double Playback::runOnPosition() const {
    if (!mPublished.advancing) return mPublished.position;
    const double since = std::chrono::duration<double>(std::chrono::steady_clock::now() - mPublished.takenAt).count();
    return mPublished.position + std::min(since, kLongestRunOn) * mPublished.rate;
}

void Playback::loop() {
    // The output holds only kOutputLead of sound: the feed goes before the
    // program's other threads (the envelope's reader, the windows).
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    const bool mediaFoundation = SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE));
    mOutput = openWasapiOutput();
    if (!mOutput) mOutput = openSilentOutput(kSilentRate, kSilentChannels);

    std::uint64_t seenOpen = 0, seenClose = 0, seenSeek = 0, seenRequests = 0;
    std::unique_lock lock(mMutex);
    while (!mRequests.quit) {
        const Requests wanted = mRequests;
        seenRequests = mRequestCount;
        lock.unlock();

        if (wanted.openSerial != seenOpen) {
            seenOpen = wanted.openSerial;
            seenSeek = wanted.seekSerial;
            openNow(wanted.openPath, wanted.openSerial);
        }
        if (wanted.closeSerial != seenClose) {
            seenClose = wanted.closeSerial;
            if (seenClose == seenOpen) {
                mDecoder.reset();
                resetOutput();
            }
        }
        if (mStretch) mStretch->setRate(wanted.rate);
        mGain = wanted.gain;
        if (!wanted.levelling) {
            mLeveller.reset();
        } else if (!mLeveller && mStretch) {
            mLeveller = std::make_unique<SpeechLeveller>(mStretch->channels(), mOutput->sampleRate());
        }
        if (wanted.seekSerial != seenSeek) {
            seenSeek = wanted.seekSerial;
            if (mDecoder) restartAt(wanted.seekTarget);
        }
        if (!wanted.playing && mRunning) idle();
        if (mDecoder && !mEnded && wanted.playing) {
            mIdleSince.reset();
            // Filled before the start, so the output never begins with a gap;
            // not before play, so a rate set meanwhile applies from the start.
            fill();
            if (!mRunning && !mEnded) {
                mOutput->start();
                mRunning = true;
            }
        }
        const double position = mDecoder ? playedPosition() : 0.0;

        lock.lock();
        mPublished.seekApplied = seenSeek;
        mPublished.position = position;
        mPublished.takenAt = std::chrono::steady_clock::now();
        mPublished.advancing = wanted.playing && mRunning && !mEnded;
        mPublished.ended = mEnded;
        mPublished.rate = mStretch ? mStretch->rate() : 1.0;
        mChanged.notify_all();
        if (mRunning && !mEnded) {
            mChanged.wait_for(lock, kFeedInterval, [&] { return mRequestCount != seenRequests; });
        } else {
            mChanged.wait(lock, [&] { return mRequestCount != seenRequests; });
        }
    }
    lock.unlock();
    mDecoder.reset();
    mOutput.reset();
    if (mediaFoundation) MFShutdown();
    if (com) CoUninitialize();
}

void Playback::openNow(const std::string& path, std::uint64_t serial) {
    mDecoder.reset();
    resetOutput();
    Opened opened;
    mDecoder = SourceDecoder::open(path, opened.failure, opened.reason);
    if (mDecoder) {
        opened.seconds = mDecoder->seconds();
        mStretch = std::make_unique<TimeStretch>(mDecoder->channels(), mDecoder->sampleRate());
        mLeveller.reset();  // made anew for this recording's channels when levelling is on
        mResampler =
            mDecoder->sampleRate() == mOutput->sampleRate()
                ? nullptr
                : std::make_unique<Resampler>(mDecoder->channels(), mDecoder->sampleRate(), mOutput->sampleRate());
        restartAt(0.0);
    }
    std::lock_guard lock(mMutex);
    mPublished.openAnswered = serial;
    mPublished.opened = opened;
    mPublished.position = 0.0;
    mPublished.advancing = false;
    mPublished.ended = false;
    mChanged.notify_all();
}

// A running output is not restarted: under Wine a restarted stream stays
// silent for up to two seconds, while what it still has queued is heard in
// less than the output's lead.
void Playback::restartAt(double seconds) {
    if (!mRunning) resetOutput();
    mStretch->reset();
    if (mResampler) mResampler->reset();
    mDecoder->seek(seconds);
    mBase = seconds;
    mMarkers.clear();
    mEnded = false;
    mDecodeEnded = false;
    mResamplerFinished = false;
    mPending.clear();
    mPendingAt = 0;
}

void Playback::resetOutput() {
    mOutput->reset();
    mRunning = false;
    mIdleSince.reset();
    mWritten = 0;
}

// Under Wine a stopped stream rewinds its device, and the next start may stay
// silent for up to two seconds: a pause keeps the output running on silence,
// for a while, and starts decoding again where the sound was paused.
void Playback::idle() {
    const auto now = std::chrono::steady_clock::now();
    if (!mIdleSince) {
        mIdleSince = now;
        if (mDecoder && !mEnded) restartAt(playedPosition());
    }
    if (now - *mIdleSince >= kLongestIdleRun) {
        mOutput->pause();
        mRunning = false;
        mIdleSince.reset();
        return;
    }
    const std::size_t frames = mOutput->writable();
    mSilence.resize(frames * static_cast<std::size_t>(mOutput->channels()));
    mOutput->write(mSilence.data(), frames);
    mWritten += frames;
}

void Playback::fill() {
    const auto channels = static_cast<std::size_t>(mOutput->channels());
    while (true) {
        if (mPendingAt == mPending.size()) {
            mPending.clear();
            mPendingAt = 0;
            if (!produce()) break;
            continue;
        }
        const std::size_t room = mOutput->writable();
        if (room == 0) return;
        const std::size_t frames = std::min(room, (mPending.size() - mPendingAt) / channels);
        mOutput->write(mPending.data() + mPendingAt, frames);
        mPendingAt += frames * channels;
        mWritten += frames;
    }
    // Everything is written: the recording ends once it has been played.
    if (mRunning && mOutput->played() + static_cast<std::uint64_t>(mOutput->sampleRate() / 1000) >= mWritten) {
        mEnded = true;
        mOutput->pause();
        mRunning = false;
    }
}

// Makes the next block of output in mPending; false when nothing is left.
bool Playback::produce() {
    const auto inChannels = static_cast<std::size_t>(mStretch->channels());
    mConverted.clear();
    while (mStretch->ready() == 0 && !mStretch->finished()) {
        if (mDecodeEnded) {
            mStretch->endOfInput();
            break;
        }
        mDecoded.clear();
        if (!mDecoder->read(mDecoded)) {
            mDecodeEnded = true;
            continue;
        }
        mStretch->feed(mDecoded.data(), mDecoded.size() / inChannels);
    }
    if (mStretch->ready() > 0) {
        const double recordingRate = mDecoder->sampleRate();
        mMarkers.push_back({mWritten,
                            mBase + mStretch->sourceFrameOfNextOutput() / recordingRate,
                            mStretch->rate() / mOutput->sampleRate()});
        mBlock.resize(kChunk * inChannels);
        const std::size_t frames = mStretch->pull(mBlock.data(), kChunk);
        if (mResampler) {
            mResampler->process(mBlock.data(), frames, mConverted);
        } else {
            mConverted.assign(mBlock.begin(), mBlock.begin() + static_cast<std::ptrdiff_t>(frames * inChannels));
        }
    } else if (mResampler && !mResamplerFinished) {
        mResampler->finish(mConverted);
        mResamplerFinished = true;
    } else {
        return false;
    }

    // A mono recording goes to every speaker; otherwise channel to channel.
    const auto outChannels = static_cast<std::size_t>(mOutput->channels());
    const std::size_t frames = mConverted.size() / inChannels;
    if (mLeveller) mLeveller->process(mConverted.data(), frames);
    mPending.resize(frames * outChannels);
    const auto gain = static_cast<float>(mGain);
    for (std::size_t f = 0; f < frames; ++f) {
        for (std::size_t c = 0; c < outChannels; ++c) {
            const std::size_t from = inChannels == 1 ? 0 : c;
            mPending[f * outChannels + c] = from < inChannels ? gain * mConverted[f * inChannels + from] : 0.0f;
        }
    }
    return true;
}

// The recording position of the frame the output is playing now; the place
// restarted at while the output still plays what it had queued before.
double Playback::playedPosition() {
    if (mEnded) return mDecoder->seconds();
    const std::uint64_t played = mOutput->played();
    while (mMarkers.size() > 1 && mMarkers[1].frame <= played) mMarkers.pop_front();
    if (mMarkers.empty() || mMarkers.front().frame > played) return mBase;
    const Marker& marker = mMarkers.front();
    const double seconds = marker.seconds + static_cast<double>(played - marker.frame) * marker.secondsPerFrame;
    return std::min(seconds, mDecoder->seconds());
}

}  // namespace lirabox::media
