#pragma once
// An in-memory media engine for the player's own tests. It follows the same
// rules as the real engine in a simplified way and records every call.
//
// Loading: URL(path) makes `path` the current media with the duration given by
// setDuration() (default 60 s; per path via setDurationFor) and the name
// `name()` = file name of the path (override with setNameFor). A path marked
// with failLoad() throws RaisedError with the given number, and leaves nothing
// loaded (name empty, duration 0, playState kUndefined).
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

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MediaEngine.h"

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

    // --- what tests set (not recorded) ----------------------------------
    void setDuration(double seconds) { defaultDuration_ = seconds; }   // for later loads
    void setDurationFor(const std::string& path, double seconds) { durations_[path] = seconds; }
    void setNameFor(const std::string& path, const std::string& name) { names_[path] = name; }
    void failLoad(const std::string& path, std::int32_t errorNumber);
    void failOperation(const std::string& operation, std::int32_t errorNumber);
    void clearFailures();
    // Changes the state of the current media directly (e.g. "playback went on").
    void setLoadedDuration(double seconds) { duration_ = seconds; }
    void setPlayState(std::int32_t state) { playState_ = state; }
    void setPosition(double seconds) { position_ = seconds; }

    // --- what tests observe (not recorded) ------------------------------
    bool loaded() const noexcept { return loaded_; }
    const std::string& url() const noexcept { return url_; }
    double duration() const noexcept { return duration_; }
    std::int32_t state() const noexcept { return playState_; }
    double position() const noexcept { return position_; }
    double rate() const noexcept { return rate_; }
    std::int32_t volume() const noexcept { return volume_; }
    bool autoStart() const noexcept { return autoStart_; }
    const std::vector<std::string>& library() const noexcept { return library_; }

    // Every call so far, in order.
    const std::vector<std::string>& calls() const noexcept { return calls_; }
    // Only the calls that change something (all but the reads).
    std::vector<std::string> commands() const;
    // How often a given recorded call (exact text) was made.
    int count(const std::string& call) const;
    void clearCalls() { calls_.clear(); }

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

    double defaultDuration_ = 60.0;
    std::map<std::string, double> durations_;
    std::map<std::string, std::string> names_;
    std::map<std::string, std::int32_t> loadFailures_;
    std::map<std::string, std::int32_t> operationFailures_;

    bool loaded_ = false;
    std::string url_;
    std::string name_;
    double duration_ = 0.0;
    std::int32_t playState_ = lirabox::media::kUndefined;
    double position_ = 0.0;
    double rate_ = 1.0;
    std::int32_t volume_ = 50;
    bool autoStart_ = true;
    std::vector<std::string> library_;
    std::vector<std::string> calls_;

    std::unique_ptr<Settings> settings_;
    std::unique_ptr<Controls> controls_;
    std::unique_ptr<Media> media_;
    std::unique_ptr<Collection> collection_;
};

}  // namespace lirabox::test
