#include "Win32MediaEngine.h"

#include <algorithm>
#include <optional>

#include "player/media/DetachedWork.h"
#include "player/media/Loudness.h"
#include "player/media/RecordingPath.h"
#include "player/media/WavChunks.h"

namespace lirabox::media {
namespace {

constexpr std::chrono::milliseconds kBriefWait {50};

}  // namespace

struct Win32MediaEngine::State : EngineSettings, EngineControls, CurrentMedia, MediaCollection {
    enum class Mode { Empty, Ready, Playing, Paused, Stopped };

    Playback playback;
    Mode mode = Mode::Empty;
    std::string url;
    std::string mediaName;
    double length = 0.0;
    bool autoStarting = true;
    bool loading = false;
    // While not playing, the position the engine holds.
    std::optional<double> heldPosition;
    RecentMedia recent;
    LoadWaiter loadWaiter;
    std::chrono::milliseconds loadLimit = kLoadWait;

    // --- settings ---
    void autoStart(bool start) override { autoStarting = start; }
    void rate(double value) override {
        requireValidRate(value);
        playback.setRate(value);
    }
    void volume(std::int32_t value) override {
        requireValidVolume(value);
        playback.setGain(volumeGain(value));
    }
    void evenLoudness(bool on) override { playback.setLevelling(on); }

    // --- controls ---
    void play() override {
        if (mode == Mode::Empty) return;
        // At the end, play starts again from the beginning.
        if (mode == Mode::Playing && !playback.clock().ended) return;
        if (playback.clock().ended) currentPosition(0.0);
        mode = Mode::Playing;
        heldPosition.reset();
        playback.run(true);
    }
    void pause() override {
        if (mode != Mode::Playing) return;
        heldPosition = currentPosition();
        playback.run(false);
        mode = Mode::Paused;
    }
    void stop() override {
        if (mode == Mode::Empty) return;
        playback.run(false);
        mode = Mode::Stopped;
        currentPosition(0.0);
    }
    double currentPosition() override {
        if (mode == Mode::Empty) return 0.0;
        if (heldPosition) return *heldPosition;
        const Playback::Clock clock = playback.clock();
        return clock.ended ? length : std::clamp(clock.position, 0.0, length);
    }
    void currentPosition(double seconds) override {
        requireValidPosition(seconds);
        if (mode == Mode::Empty) return;
        const double target = std::clamp(seconds, 0.0, length);
        playback.seek(target);
        if (mode != Mode::Playing) heldPosition = target;
    }

    // --- current media ---
    double duration() override { return length; }
    std::string name() override { return mode == Mode::Empty ? std::string() : mediaName; }
    std::string sourceURL() override { return url; }

    // --- collection ---
    void add(const std::string& sourceURL) override { recent.add(sourceURL); }

    void forgetMedia() {
        mode = Mode::Empty;
        url.clear();
        mediaName.clear();
        length = 0.0;
        heldPosition.reset();
    }

    // The new file is checked first, on a thread of its own while the waiter
    // runs (the UI thread never touches it); only a file that passes
    // replaces the loaded one. One limit spans the check and the open.
    void load(const std::string& path) {
        if (loading) throw engineError(kErrLoadBusy, "another file is still opening: " + path);
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + loadLimit;
        DetachedWork<std::optional<RaisedError>> check([path] { return refusalOf(path); });
        bool checked = false;
        std::optional<RaisedError> refusal;
        std::uint64_t serial = 0;
        std::optional<Playback::Opened> opened;
        const auto left = [&] {
            return std::clamp(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()),
                              std::chrono::milliseconds(0),
                              kBriefWait);
        };
        const std::function<bool()> waitBriefly = [&] {
            if (refusal || opened || Clock::now() >= deadline) return true;
            if (!checked) {
                if (!check.waitFor(left())) return Clock::now() >= deadline;
                checked = true;
                refusal = check.take();
                if (refusal) return true;
                if (mode != Mode::Empty) {
                    playback.close();
                    forgetMedia();
                }
                serial = playback.open(path);
            }
            opened = playback.waitForOpen(serial, left());
            return opened || Clock::now() >= deadline;
        };
        {
            loading = true;
            struct Clear {
                bool& loading;
                ~Clear() { loading = false; }
            } clear {loading};
            if (loadWaiter) {
                loadWaiter(waitBriefly);
            } else {
                while (!waitBriefly()) {}
            }
        }
        if (refusal) throw *refusal;
        if (!opened) {
            if (checked) playback.close();
            if (Clock::now() < deadline) throw engineError(kErrLoadGivenUp, "the load was given up: " + path);
            throw engineError(kErrLoadTimeout,
                              "the file did not open within " + numberText(loadLimit.count() / 1000.0) + " s: " + path);
        }
        if (opened->failure == SourceDecoder::Failure::CannotOpen) throw engineError(kErrCannotOpen, opened->reason);
        if (opened->failure == SourceDecoder::Failure::NotPlayable) throw engineError(kErrNotPlayable, opened->reason);
        url = path;
        mediaName = fileNameOf(path);
        length = opened->seconds;
        mode = autoStarting ? Mode::Playing : Mode::Ready;
        if (autoStarting) {
            playback.run(true);
        } else {
            heldPosition = 0.0;
        }
    }

    // Why the file cannot be played, found without the decoder; nothing when it may be.
    static std::optional<RaisedError> refusalOf(const std::string& path) {
        if (auto reason = unusablePathReason(path); !reason.empty()) return engineError(kErrCannotOpen, reason);
        if (!riffChunkSizesFit(path)) {
            return engineError(kErrNotPlayable, "the file claims more data than it holds: " + path);
        }
        return std::nullopt;
    }

    std::int32_t playState() {
        switch (mode) {
        case Mode::Empty: return kUndefined;
        case Mode::Ready: return kReady;
        case Mode::Paused: return kPaused;
        case Mode::Stopped: return kStopped;
        case Mode::Playing: return playback.clock().ended ? kMediaEnded : kPlaying;
        }
        return kUndefined;
    }
};

Win32MediaEngine::Win32MediaEngine() : mState(std::make_unique<State>()) {}
Win32MediaEngine::~Win32MediaEngine() = default;

void Win32MediaEngine::URL(const std::string& path) { mState->load(path); }
std::int32_t Win32MediaEngine::playState() { return mState->playState(); }
EngineSettings& Win32MediaEngine::settings() { return *mState; }
EngineControls& Win32MediaEngine::controls() { return *mState; }
CurrentMedia& Win32MediaEngine::currentMedia() { return *mState; }
MediaCollection& Win32MediaEngine::mediaCollection() { return *mState; }
const RecentMedia& Win32MediaEngine::recentMedia() const noexcept { return mState->recent; }
void Win32MediaEngine::setLoadWaiter(LoadWaiter waiter) { mState->loadWaiter = std::move(waiter); }
void Win32MediaEngine::setLoadLimit(std::chrono::milliseconds limit) { mState->loadLimit = limit; }

std::unique_ptr<MediaEngine> createWin32MediaEngine() { return std::make_unique<Win32MediaEngine>(); }

}  // namespace lirabox::media
