#pragma once
// The engine's playback thread: it owns the decoder, the time-stretch, the
// resampler and the sound output (or a silent clock when there is no device),
// and keeps the output fed. Every public call may come from any thread; the
// work happens on the playback thread, so no call waits on decoding or output
// except open() for as long as its caller allows.
//
// The output stream, once started, runs on across seeks and (on silence) for
// up to 30 s of a pause, so either is heard after the output's lead.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "AudioOutput.h"
#include "SourceDecoder.h"
#include "player/media/stretch/Resampler.h"
#include "player/media/stretch/SpeechLeveller.h"
#include "player/media/stretch/TimeStretch.h"

namespace lirabox::media {

class Playback {
public:
    struct Opened {
        SourceDecoder::Failure failure = SourceDecoder::Failure::None;
        std::string reason;
        double seconds = 0.0;
    };
    struct Clock {
        double position = 0.0;  // seconds into the recording
        bool ended = false;     // everything up to the end has been played
    };

    Playback();
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // Starts opening `path` in place of the current recording (stopped, at
    // 0); the answer comes from waitForOpen with the serial returned.
    std::uint64_t open(const std::string& path);
    // The outcome of the open, or nullopt when it has not come within `wait`.
    std::optional<Opened> waitForOpen(std::uint64_t serial, std::chrono::milliseconds wait);
    // Drops the recording (also one still opening).
    void close();

    void run(bool playing);
    void seek(double seconds);
    void setRate(double rate);
    void setGain(double gain);
    void setLevelling(bool on);
    Clock clock();

private:
    struct Requests {
        std::uint64_t openSerial = 0;
        std::string openPath;
        std::uint64_t closeSerial = 0;
        bool playing = false;
        std::uint64_t seekSerial = 0;
        double seekTarget = 0.0;
        double rate = 1.0;
        double gain = 1.0;
        bool levelling = false;
        bool quit = false;
    };
    struct Published {
        std::uint64_t openAnswered = 0;
        Opened opened;
        std::uint64_t seekApplied = 0;
        double position = 0.0;
        std::chrono::steady_clock::time_point takenAt;
        bool advancing = false;
        bool ended = false;
        double rate = 1.0;
    };
    // Where a block of output comes from: its first output frame, the
    // recording position of that frame and how far each frame moves it.
    struct Marker {
        std::uint64_t frame;
        double seconds;
        double secondsPerFrame;
    };

    double runOnPosition() const;  // with mMutex held
    void loop();
    void openNow(const std::string& path, std::uint64_t serial);
    // Decoding starts again at `seconds`; a running output plays what it has
    // queued and then the new sound, a stopped one is emptied.
    void restartAt(double seconds);
    void resetOutput();
    void idle();
    void fill();
    bool produce();
    double playedPosition();

    std::mutex mMutex;
    std::condition_variable mChanged;
    Requests mRequests;
    std::uint64_t mRequestCount = 0;  // changes of mRequests, for the playback thread's wait
    Published mPublished;
    double mReadFloor = 0.0;  // the latest position clock() gave since the last seek or open

    // Playback thread only.
    std::unique_ptr<AudioOutput> mOutput;
    std::unique_ptr<SourceDecoder> mDecoder;
    std::unique_ptr<TimeStretch> mStretch;
    std::unique_ptr<Resampler> mResampler;
    std::unique_ptr<SpeechLeveller> mLeveller;  // while levelling is on
    double mGain = 1.0;
    bool mRunning = false;                                            // the output is started
    std::optional<std::chrono::steady_clock::time_point> mIdleSince;  // running while not playing
    bool mEnded = false;
    bool mDecodeEnded = false;
    bool mResamplerFinished = false;
    double mBase = 0.0;
    std::deque<Marker> mMarkers;  // of the sound since the last restart
    std::uint64_t mWritten = 0;   // output frames since the output's last reset
    std::vector<float> mDecoded, mBlock, mConverted, mPending, mSilence;
    std::size_t mPendingAt = 0;

    std::thread mThread;
};

}  // namespace lirabox::media
