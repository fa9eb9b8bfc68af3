#pragma once
// An in-memory media engine for the player's own tests. It follows the same
// rules as the real engine in a simplified way and records every call.
//
// Loading: URL(path) makes `path` the current media with the duration given by
// setDuration() (default 60 s; per path via setDurationFor) and the name
// `name()` = file name of the path (override with setNameFor). A path marked
// with failLoad() throws RaisedError with the given number. As with the real
// engines, a file that cannot be opened (kErrCannotOpen) leaves the loaded
// recording as it was; any other failure leaves nothing loaded (name empty,
// duration 0, playState kUndefined).
//
// State: nothing loaded → kUndefined; loaded → kReady (kPlaying when autoStart
// is true); play → kPlaying; pause while playing → kPaused; stop → kStopped and
// position 0. Without media, play/pause/stop change nothing. A negative
// position is taken as 0; the recorded call shows what the player asked for.
// A rate outside 0.01 .. 100, a volume outside 0 .. 100 and a position that is
// not a number are refused with the engine's kErrBadValue. These rules are the
// real engine's: tests/media/EngineContractTest.cpp holds both to them.
//
// Recorded calls, in order, as text:
//   "URL(<path>)", "playState()", "settings.autoStart(true|false)",
//   "settings.rate(<r>)", "settings.volume(<v>)", "controls.play()",
//   "controls.pause()", "controls.stop()", "controls.currentPosition()",
//   "controls.currentPosition(<s>)", "currentMedia.duration()",
//   "currentMedia.name()", "currentMedia.sourceURL()", "mediaCollection.add(<url>)"
// Numbers are written with at most 15 significant digits ("1.5", "-2", "12").
// The operation name is the text before "(": failOperation("controls.play", n)
// makes every later call of that operation throw RaisedError n (until cleared).
// A failing call is recorded too.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "player/media/MediaEngine.h"

namespace lirabox::test {

class FakeMediaEngine : public lirabox::media::MediaEngine {
public:
    FakeMediaEngine();
    ~FakeMediaEngine() override;

    // --- the engine interface -------------------------------------------
    void URL(const std::string& path) override;
    std::int32_t playState() override;
    lirabox::media::EngineSettings& settings() override;
    lirabox::media::EngineControls& controls() override;
    lirabox::media::CurrentMedia& currentMedia() override;
    lirabox::media::MediaCollection& mediaCollection() override;
    const lirabox::media::RecentMedia& recentMedia() const noexcept override { return mRecent; }
    // The fake opens at once: a waiter is called with a wait that is already decided.
    void setLoadWaiter(lirabox::media::LoadWaiter waiter) override { mLoadWaiter = std::move(waiter); }
    void setLoadLimit(std::chrono::milliseconds limit) override { mLoadLimit = limit; }
    std::chrono::milliseconds loadLimit() const noexcept { return mLoadLimit; }

    // --- what tests set (not recorded) ----------------------------------
    void setDuration(double seconds) { mDefaultDuration = seconds; }  // for later loads
    void setDurationFor(const std::string& path, double seconds) { mDurations[path] = seconds; }
    void setNameFor(const std::string& path, const std::string& name) { mNames[path] = name; }
    void failLoad(const std::string& path, std::int32_t errorNumber);
    void failOperation(const std::string& operation, std::int32_t errorNumber);
    void clearFailures();
    // Changes the state of the current media directly (e.g. "playback went on").
    void setLoadedDuration(double seconds) { mDuration = seconds; }
    void setPlayState(std::int32_t state) { mPlayState = state; }
    void setPosition(double seconds) { mPosition = seconds; }

    // --- what tests observe (not recorded) ------------------------------
    bool loaded() const noexcept { return mLoaded; }
    const std::string& url() const noexcept { return mUrl; }
    double duration() const noexcept { return mDuration; }
    std::int32_t state() const noexcept { return mPlayState; }
    double position() const noexcept { return mPosition; }
    double rate() const noexcept { return mRate; }
    std::int32_t volume() const noexcept { return mVolume; }
    bool evenLoudness() const noexcept { return mEvenLoudness; }
    bool autoStart() const noexcept { return mAutoStart; }
    const std::vector<std::string>& library() const noexcept { return mLibrary; }

    // Every call so far, in order.
    const std::vector<std::string>& calls() const noexcept { return mCalls; }
    // Only the calls that change something (all but the reads).
    std::vector<std::string> commands() const;
    // How often a given recorded call (exact text) was made.
    int count(const std::string& call) const;
    void clearCalls() { mCalls.clear(); }

    // Used by the parts of the fake.
    void record(const std::string& operation, const std::string& argument);

private:
    class Settings;
    class Controls;
    class Media;
    class Collection;
    friend class Settings;
    friend class Controls;
    friend class Media;
    friend class Collection;

    double mDefaultDuration = 60.0;
    std::map<std::string, double> mDurations;
    std::map<std::string, std::string> mNames;
    std::map<std::string, std::int32_t> mLoadFailures;
    std::map<std::string, std::int32_t> mOperationFailures;

    bool mLoaded = false;
    std::string mUrl;
    std::string mName;
    double mDuration = 0.0;
    std::int32_t mPlayState = lirabox::media::kUndefined;
    double mPosition = 0.0;
    double mRate = 1.0;
    std::int32_t mVolume = 50;
    bool mEvenLoudness = false;
    bool mAutoStart = true;
    std::vector<std::string> mLibrary;
    lirabox::media::RecentMedia mRecent;
    lirabox::media::LoadWaiter mLoadWaiter;
    std::chrono::milliseconds mLoadLimit = lirabox::media::kLoadWait;
    std::vector<std::string> mCalls;

    std::unique_ptr<Settings> mSettings;
    std::unique_ptr<Controls> mControls;
    std::unique_ptr<Media> mMedia;
    std::unique_ptr<Collection> mCollection;
};

}  // namespace lirabox::test
