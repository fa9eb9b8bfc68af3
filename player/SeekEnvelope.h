#pragma once
// The loudness envelope the seek bar shows behind its groove: measured on a
// worker thread at the lowest priority after each load, at the bar's width in
// pixels, the part near the playing position first (LoudnessEnvelope), and
// kept for the last kKept recordings (by path, size, modification time and
// width), so opening one of them again shows its envelope at once; with a
// store file (EnvelopeStore.h) they are kept across starts as well, read when
// this object is made and written by the worker after each new whole one.
//
// Threads: every call but levels() comes from the UI thread; levels() may be
// called from any. The changed callback is called on the worker thread
// (throttled, and once more at the end) or on the UI thread (a load, an
// unload), so a GUI posts its redraw from there; it may call levels() but
// nothing else of this object.
// Ownership: the engine must outlive this object; the destructor stops the
// worker (within one probe of decoding) and waits for it.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "EnvelopeStore.h"
#include "PlayerListener.h"
#include "player/media/LoudnessEnvelope.h"
#include "player/media/MediaEngine.h"

namespace lirabox {

class SeekEnvelope final : public PlayerListener {
public:
    static constexpr std::size_t kKept = 16;

    // Without a store file the envelopes are kept in memory only.
    explicit SeekEnvelope(media::MediaEngine& engine, std::filesystem::path storeFile = {});
    ~SeekEnvelope() override;
    SeekEnvelope(const SeekEnvelope&) = delete;
    SeekEnvelope& operator=(const SeekEnvelope&) = delete;

    void setChangedCallback(std::function<void()> changed);
    // The bar's width in pixels; a new width measures the recording afresh.
    void setColumns(std::size_t columns);
    // One level a column (0 .. 1, LoudnessEnvelope::kUnknown where not yet
    // measured); empty without a recording.
    std::vector<float> levels() const;
    // Whether the loaded recording's envelope is whole.
    bool complete() const;

    void recordingLoaded(const std::string& name, double seconds) override;
    void recordingUnloaded() override;
    void positionTicked(double seconds) override { mFocus = seconds; }
    void positionJumped(double seconds) override { mFocus = seconds; }

private:
    void start();
    void stop();
    void measure(EnvelopeKey key, std::shared_ptr<media::LoudnessEnvelope> envelope);
    // Calls the changed callback; a throttled one only when the last was 100 ms ago or more.
    void notify(bool throttled = false);

    media::MediaEngine& mEngine;
    const std::filesystem::path mStoreFile;
    std::size_t mColumns = 0;
    std::string mPath;  // of the loaded recording; empty without one

    mutable std::mutex mMutex;
    std::shared_ptr<media::LoudnessEnvelope> mEnvelope;
    std::list<KeptEnvelope> mKept;  // the most recent first
    std::mutex mCallbackMutex;      // over the two below
    std::function<void()> mChanged;
    std::chrono::steady_clock::time_point mNotified;

    std::atomic<double> mFocus {0.0};
    std::atomic<bool> mStop {false};
    std::thread mWorker;
};

}  // namespace lirabox
