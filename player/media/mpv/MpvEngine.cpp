#include "MpvEngine.h"

#include <mpv/client.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <optional>
#include <utility>

#include "RecordingOpening.h"
#include "player/media/EngineErrors.h"
#include "player/media/Loudness.h"
#include "player/media/RecordingPath.h"
#include "support/RaisedError.h"
#include "support/Trace.h"

namespace lirabox::media {
namespace {

// The audio filters: the pitch-keeping time-stretch, named explicitly because
// libmpv only puts its own in when the speed differs from 1 at the start, not
// when it changes later; with levelling, ffmpeg's dynamic normaliser in front
// of it. Its settings (measured on speech, see docs/benchmarks.md): 200 ms
// frames smoothed over 11 of them, speech brought to an RMS of 0.1
// (-20 dBFS), peaks kept below 0.9, at most 10x (+20 dB), and frames quieter
// than the threshold (pauses) left alone, so their noise is not raised.
constexpr const char* kPlainFilters = "scaletempo2";
constexpr const char* kLevelledFilters = "lavfi=[dynaudnorm=f=200:g=11:p=0.9:m=10:r=0.1:t=0.01],scaletempo2";

// How libmpv is set up: an audio player inside a GUI, nothing of the user's
// mpv set-up, no network, and a silent output when there is no sound device.
const std::vector<MpvOption> kBaseOptions = {
    {"config", "no"},
    {"load-scripts", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"ytdl", "no"},
    {"terminal", "no"},
    {"input-terminal", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"osc", "no"},
    {"video", "no"},
    {"audio-display", "no"},
    {"audio-file-auto", "no"},
    {"sub-auto", "no"},
    {"cover-art-auto", "no"},
    {"access-references", "no"},
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
    {"audio-client-name", "lirabox"},
    {"audio-fallback-to-null", "yes"},
    {"af", kPlainFilters},
    {"hr-seek", "yes"},
    {"idle", "yes"},
    {"keep-open", "yes"},
    // At the end the player stays "playing" at the last position, so a position
    // set afterwards goes on playing from there.
    {"keep-open-pause", "no"},
    {"pause", "yes"},
};

// libmpv's position and end flag change only when its core thread runs, and
// every read of them waits for that thread. Reads in quick succession (the
// steps of one tick) share one reading; a command or an event starts afresh.
constexpr std::chrono::milliseconds kReadingLife {20};

// How long an engine started ahead waits on its thread for the recording to
// be opened before it hands the rest of the load on to URL().
constexpr std::chrono::milliseconds kHeadStartOpenWait {50};

template <typename T>
struct SharedReading {
    std::optional<T> value;
    std::chrono::steady_clock::time_point takenAt;

    template <typename Read>
    T get(Read read) {
        const auto now = std::chrono::steady_clock::now();
        if (!value || now - takenAt > kReadingLife) {
            value = read();
            takenAt = now;
        }
        return *value;
    }
};

}  // namespace

struct MpvEngine::State {
    enum class Mode { Empty, Ready, Playing, Paused, Stopped };

    class Settings : public EngineSettings {
    public:
        explicit Settings(State& s) : mState(s) {}
        void autoStart(bool start) override { mState.autoStart = start; }
        void rate(double rate) override { mState.setRate(rate); }
        void volume(std::int32_t volume) override { mState.setVolume(volume); }
        void evenLoudness(bool on) override { mState.setEvenLoudness(on); }

    private:
        State& mState;
    };

    class Controls : public EngineControls {
    public:
        explicit Controls(State& s) : mState(s) {}
        void play() override { mState.play(); }
        void pause() override { mState.pause(); }
        void stop() override { mState.stop(); }
        double currentPosition() override { return mState.position(); }
        void currentPosition(double seconds) override { mState.seek(seconds); }

    private:
        State& mState;
    };

    class Media : public CurrentMedia {
    public:
        explicit Media(State& s) : mState(s) {}
        double duration() override {
            mState.processEvents();
            return mState.duration;
        }
        std::string name() override {
            mState.processEvents();
            return mState.name;
        }
        std::string sourceURL() override {
            mState.processEvents();
            return mState.url;
        }

    private:
        State& mState;
    };

    class Collection : public MediaCollection {
    public:
        explicit Collection(State& s) : mState(s) {}
        void add(const std::string& sourceURL) override { mState.recent.add(sourceURL); }

    private:
        State& mState;
    };

    mpv_handle* mpv = nullptr;
    Mode mode = Mode::Empty;
    std::string url;
    std::string name;
    double duration = 0.0;
    std::int64_t entryId = -1;  // libmpv's playlist entry of the loaded file
    bool autoStart = true;
    double rate = 1.0;
    std::int32_t volume = 100;  // the amplitude in percent
    bool levelled = false;

    // While not playing, the position the engine holds: libmpv's own reading
    // can lag behind by its output buffer after a seek made while paused.
    std::optional<double> heldPosition;
    // A position set that libmpv has not finished yet: reads return its target.
    std::optional<double> seekTarget;
    std::uint64_t seekSerial = 0;
    bool seekTaken = false;  // libmpv has taken the latest seek command
    // A finished seek's target, until libmpv's reading has reached it: right
    // after the seek that reading lags behind by what its output holds.
    std::optional<double> seekFloor;

    // A load waiting for libmpv's answer; filled in by handle(), whichever
    // call drains the queue meanwhile.
    struct PendingLoad {
        std::string path;
        bool paused = true;
        std::chrono::steady_clock::time_point deadline;
        // Until its descriptor is handed to libmpv.
        std::unique_ptr<RecordingOpening> opening;
        std::optional<RaisedError> refusal;
        bool early = false;   // begun by prepare(), not yet taken by URL()
        bool issued = false;  // libmpv has been told to load the file
        std::int64_t entry = -1;
        bool started = false;
        bool loaded = false;
        std::optional<mpv_event_end_file> ended;
    };
    std::optional<PendingLoad> pending;
    // What plays for a later owner (keepPlayingForTakeover), until its URL().
    struct HeadStart {
        double from = 0.0;
        // Settings given meanwhile, applied at that URL().
        std::optional<double> rate;
        std::optional<std::int32_t> volume;
        std::optional<bool> levelled;
    };
    std::optional<HeadStart> headStart;
    // The position a taken-over head start began at, until the first seek.
    std::optional<double> takenFrom;
    LoadWaiter loadWaiter;
    std::chrono::milliseconds loadLimit = kLoadWait;

    SharedReading<double> timePos;  // NaN when libmpv has none
    // The latest position read lies beyond the one read before it, with no
    // command or event between the two.
    bool timePosMoved = false;
    SharedReading<bool> eofReached;

    RecentMedia recent;
    // Set by libmpv's wakeup (it calls it whenever it queues an event, until
    // the queue has been read empty), so that processEvents() reads the queue
    // only when something is in it: each read of an empty queue still costs a
    // round through libmpv's locks and a timed wait, many times per tick.
    std::atomic<bool> eventsQueued {true};
    std::mutex wakeupMutex;
    std::function<void()> wakeup;

    Settings settingsPart {*this};
    Controls controlsPart {*this};
    Media mediaPart {*this};
    Collection collectionPart {*this};

    static void onWakeup(void* context) {
        auto* self = static_cast<State*>(context);
        self->eventsQueued.store(true);
        // Called under the lock, so that once setWakeupCallback has replaced
        // it, the old callback is neither running nor called again.
        std::lock_guard lock(self->wakeupMutex);
        if (self->wakeup) self->wakeup();
    }

    void forgetReadings() {
        timePos.value.reset();
        timePosMoved = false;
        eofReached.value.reset();
    }

    void setFlag(const char* property, bool value) {
        forgetReadings();
        int flag = value ? 1 : 0;
        mpv_set_property(mpv, property, MPV_FORMAT_FLAG, &flag);
    }

    double readTimePos() {
        return timePos.get([&] {
            double read = 0.0;
            const double seconds =
                mpv_get_property(mpv, "time-pos", MPV_FORMAT_DOUBLE, &read) >= 0 ? read : std::nan("");
            timePosMoved =
                timePos.value && std::isfinite(*timePos.value) && std::isfinite(seconds) && seconds > *timePos.value;
            return seconds;
        });
    }

    // Every read wakes libmpv's core thread. While playing, the position
    // stands still once the end has been reached, so as long as it moves on
    // from one reading to the next the end is not asked about.
    bool readEofReached() {
        if (mode == Mode::Playing) {
            readTimePos();
            if (timePosMoved) return false;
        }
        return eofReached.get([&] {
            int flag = 0;
            return mpv_get_property(mpv, "eof-reached", MPV_FORMAT_FLAG, &flag) >= 0 && flag != 0;
        });
    }

    void processEvents() {
        if (!eventsQueued.exchange(false)) return;
        while (true) {
            mpv_event* event = mpv_wait_event(mpv, 0);
            if (event->event_id == MPV_EVENT_NONE) return;
            handle(*event);
        }
    }

    void handle(const mpv_event& event) {
        forgetReadings();
        switch (event.event_id) {
        case MPV_EVENT_COMMAND_REPLY:
            if (seekTarget && event.reply_userdata == seekSerial) {
                if (event.error < 0) {
                    seekTarget.reset();
                } else {
                    seekTaken = true;
                }
            }
            break;
        case MPV_EVENT_START_FILE: {
            const auto* start = static_cast<const mpv_event_start_file*>(event.data);
            if (pending && pending->issued) {
                if (pending->entry < 0) pending->entry = start->playlist_entry_id;
                pending->started = pending->started || start->playlist_entry_id == pending->entry;
            }
            break;
        }
        case MPV_EVENT_FILE_LOADED:
            if (pending && pending->started) pending->loaded = true;
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            // Seeks run in the order they were taken, so a restart that
            // follows the reply to the latest seek belongs to that seek.
            if (seekTaken && seekTarget) {
                seekFloor = seekTarget;
                seekTarget.reset();
            }
            break;
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<const mpv_event_end_file*>(event.data);
            if (pending && end->playlist_entry_id == pending->entry) pending->ended = *end;
            if (mode != Mode::Empty && end->playlist_entry_id == entryId) forgetMedia();
            break;
        }
        default: break;
        }
    }

    void forgetMedia() {
        forgetReadings();
        mode = Mode::Empty;
        url.clear();
        name.clear();
        duration = 0.0;
        entryId = -1;
        heldPosition.reset();
        seekTarget.reset();
        seekFloor.reset();
        seekTaken = false;
    }

    bool atEnd() {
        if (seekTarget) {
            // A seek past the length ends the file without a restart.
            if (seekTaken && readEofReached()) seekTarget.reset();
            if (seekTarget) return false;
        }
        return readEofReached();
    }

    using Clock = std::chrono::steady_clock;

    // The new file is opened and checked first (RecordingOpening, while the
    // waiter runs); only a file that passes replaces the loaded one. A load
    // begun by prepare() for the same file is taken over where it stands.
    void load(const std::string& path) {
        if (pending && !pending->early) throw engineError(kErrLoadBusy, "another file is still opening: " + path);
        processEvents();
        if (takeOverHeadStart(path)) return;
        if (pending && (pending->path != path || autoStart)) dropEarlyLoad();
        if (pending) {
            pending->early = false;
        } else {
            begin(path, !autoStart);
        }
        // One brief wait spans both steps, so that a quick load is decided
        // within the waiter's first call.
        const std::function<bool()> waitBriefly = [&] {
            return waitForDecision(std::min(pending->deadline, Clock::now() + std::chrono::milliseconds(50)));
        };
        const PendingLoad outcome = [&] {
            struct Clear {
                std::optional<PendingLoad>& pending;
                ~Clear() { pending.reset(); }
            } clear {pending};
            if (loadWaiter) {
                loadWaiter(waitBriefly);
            } else {
                while (!waitBriefly()) {}
            }
            return std::move(*pending);
        }();
        if (outcome.refusal) throw *outcome.refusal;
        if (outcome.loaded) {
            requireSound(path);
        } else if (outcome.ended) {
            failLoad(path, *outcome.ended);
        } else {
            if (!outcome.opening) abandonLoad();
            if (Clock::now() < outcome.deadline) {
                throw engineError(kErrLoadGivenUp, "the load was given up: " + path);
            }
            throw engineError(kErrLoadTimeout,
                              "the file did not open within " + numberText(loadLimit.count() / 1000.0) + " s: " + path);
        }
        entryId = outcome.entry;
        url = path;
        name = fileNameOf(path);
        double length = 0.0;
        if (mpv_get_property(mpv, "duration", MPV_FORMAT_DOUBLE, &length) >= 0 && std::isfinite(length)) {
            duration = length;
        }
        mode = autoStart ? Mode::Playing : Mode::Ready;
        if (!autoStart) heldPosition = 0.0;
    }

    // Handles libmpv's events as they come (an event `claim` takes is not
    // handled otherwise) until `done` holds or `until` has come; the queue is
    // read at least once.
    void handleEventsUntil(Clock::time_point until, const std::function<bool()>& done,
                           const std::function<bool(const mpv_event&)>& claim = {}) {
        while (!done()) {
            // Never negative: libmpv waits without end for that.
            const auto left = std::max(Clock::duration::zero(), until - Clock::now());
            mpv_event* event = mpv_wait_event(mpv, std::chrono::duration<double>(left).count());
            if (event->event_id == MPV_EVENT_NONE) return;
            if (!claim || !claim(*event)) handle(*event);
            if (Clock::now() >= until) return;
        }
    }

    // Waits until the pending load is decided or `until` has come; true when decided.
    bool waitForDecision(Clock::time_point until) {
        if (decided()) return true;
        if (pending->opening) {
            const auto left = std::max(Clock::duration::zero(), until - Clock::now());
            issueWhenOpened(std::chrono::duration_cast<std::chrono::milliseconds>(left));
            if (pending->opening) return decided();
        }
        handleEventsUntil(until, [&] { return decided(); });
        return decided();
    }

    bool awaitPrepared(std::chrono::milliseconds limit) {
        processEvents();
        if (!pending || !pending->early) return false;
        waitForDecision(std::min(pending->deadline, Clock::now() + limit));
        return pending->loaded && !pending->refusal;
    }

    // The position moving on is the sound running: libmpv has begun to hand
    // decoded sound to the output.
    bool awaitSound(std::chrono::milliseconds limit) {
        processEvents();
        if (mode != Mode::Playing) return false;
        constexpr std::uint64_t kWatch = std::numeric_limits<std::uint64_t>::max();
        std::optional<double> first;
        bool moved = false;
        mpv_observe_property(mpv, kWatch, "time-pos", MPV_FORMAT_DOUBLE);
        handleEventsUntil(
            Clock::now() + limit,
            [&] { return moved; },
            [&](const mpv_event& event) {
                if (event.event_id != MPV_EVENT_PROPERTY_CHANGE || event.reply_userdata != kWatch) return false;
                const auto* change = static_cast<const mpv_event_property*>(event.data);
                if (change->format == MPV_FORMAT_DOUBLE) {
                    const double seconds = *static_cast<const double*>(change->data);
                    moved = first && seconds > *first;
                    if (!first) first = seconds;
                }
                return true;
            });
        mpv_unobserve_property(mpv, kWatch);
        forgetReadings();
        return moved;
    }

    void keepPlayingForTakeover(double from) {
        processEvents();
        if (mode == Mode::Playing) headStart = HeadStart {from, {}, {}, {}};
    }

    // The URL() of the recording a head start plays keeps it playing where it
    // is; the settings given meanwhile apply now, whichever file is loaded.
    bool takeOverHeadStart(const std::string& path) {
        takenFrom.reset();
        if (!headStart) return false;
        const HeadStart begun = *headStart;
        headStart.reset();
        if (begun.rate) setRate(*begun.rate);
        if (begun.volume) setVolume(*begun.volume);
        if (begun.levelled) setEvenLoudness(*begun.levelled);
        if (path != url || mode != Mode::Playing || atEnd()) return false;
        takenFrom = begun.from;
        return true;
    }

    void prepare(const std::string& path, std::chrono::milliseconds openWait) {
        if (pending) throw engineError(kErrLoadBusy, "another file is still opening: " + path);
        processEvents();
        begin(path, true);
        pending->early = true;
        issueWhenOpened(openWait);
    }

    void begin(const std::string& path, bool paused) {
        pending.emplace();
        pending->path = path;
        pending->paused = paused;
        pending->deadline = Clock::now() + loadLimit;
        pending->opening = std::make_unique<RecordingOpening>(path);
    }

    bool decided() const {
        return pending->refusal || pending->loaded || pending->ended || Clock::now() >= pending->deadline;
    }

    // Hands libmpv the file once it has been opened and checked, waiting at
    // most `longest` for that; a refusal is kept for the load to report.
    void issueWhenOpened(std::chrono::milliseconds longest) {
        if (!pending->opening->waitFor(longest)) return;
        const std::unique_ptr<RecordingOpening> opening = std::move(pending->opening);
        try {
            startLoading(opening->takeDescriptor(), pending->path);
        } catch (const RaisedError& error) {
            pending->refusal = error;
        }
    }

    // A load begun by prepare() that URL() does not take (another file, or
    // one that is to play at once) is dropped.
    void dropEarlyLoad() {
        const bool issued = !pending->opening;
        pending.reset();
        if (issued) abandonLoad();
    }

    // Replaces the loaded file by the checked one, handing libmpv its open
    // descriptor (which libmpv closes when done with it).
    void startLoading(int descriptor, const std::string& path) {
        if (mode != Mode::Empty) {
            const char* stop[] = {"stop", nullptr};
            mpv_command(mpv, stop);
            forgetMedia();
        }
        setFlag("pause", pending->paused);
        const std::string source = "fdclose://" + std::to_string(descriptor);
        const char* command[] = {"loadfile", source.c_str(), "replace", nullptr};
        mpv_node result {};
        if (mpv_command_ret(mpv, command, &result) < 0) {
            close(descriptor);
            throw engineError(kErrCannotOpen, "the file cannot be opened: " + path);
        }
        pending->issued = true;
        if (result.format == MPV_FORMAT_NODE_MAP) {
            for (int i = 0; i < result.u.list->num; ++i) {
                if (std::string(result.u.list->keys[i]) == "playlist_entry_id" &&
                    result.u.list->values[i].format == MPV_FORMAT_INT64) {
                    pending->entry = result.u.list->values[i].u.int64;
                }
            }
        }
        mpv_free_node_contents(&result);
    }

    void requireSound(const std::string& path) {
        std::int64_t track = 0;
        if (mpv_get_property(mpv, "current-tracks/audio/id", MPV_FORMAT_INT64, &track) < 0) {
            abandonLoad();
            throw engineError(kErrNotPlayable, "the file holds no sound: " + path);
        }
    }

    [[noreturn]] void failLoad(const std::string& path, const mpv_event_end_file& end) {
        abandonLoad();
        if (end.reason == MPV_END_FILE_REASON_ERROR && end.error == MPV_ERROR_LOADING_FAILED) {
            throw engineError(kErrCannotOpen, "the file cannot be opened: " + path);
        }
        throw engineError(kErrNotPlayable, "the file is not a recording that can be played: " + path);
    }

    // Drops whatever libmpv still has of a load that did not succeed.
    void abandonLoad() {
        const char* stop[] = {"stop", nullptr};
        mpv_command(mpv, stop);
        forgetMedia();
    }

    void play() {
        processEvents();
        if (mode == Mode::Empty) return;
        // At the end, play starts again from the beginning.
        if (atEnd()) seek(0.0);
        setFlag("pause", false);
        mode = Mode::Playing;
        heldPosition.reset();
    }

    void pause() {
        processEvents();
        takenFrom.reset();
        if (mode != Mode::Playing) return;
        setFlag("pause", true);
        heldPosition = position();
        mode = Mode::Paused;
    }

    void stop() {
        processEvents();
        takenFrom.reset();
        if (mode == Mode::Empty) return;
        setFlag("pause", true);
        mode = Mode::Stopped;
        seek(0.0);
    }

    double position() {
        processEvents();
        if (mode == Mode::Empty) return 0.0;
        if (heldPosition) return *heldPosition;
        if (seekTarget) {
            atEnd();
            if (seekTarget) return *seekTarget;
        }
        // At the end the last decoded frame's time lies a little before the
        // length; the position of an ended file is its length.
        if (duration > 0.0 && readEofReached()) return duration;
        double seconds = readTimePos();
        if (seekFloor) {
            if (std::isfinite(seconds) && seconds >= *seekFloor) {
                seekFloor.reset();
            } else {
                seconds = *seekFloor;
            }
        }
        return std::isfinite(seconds) ? clampToMedia(seconds) : 0.0;
    }

    double clampToMedia(double seconds) const {
        seconds = std::max(seconds, 0.0);
        return duration > 0.0 ? std::min(seconds, duration) : seconds;
    }

    void seek(double seconds) {
        processEvents();
        requireValidPosition(seconds);
        if (mode == Mode::Empty) return;
        // The head start's sound already runs from there.
        if (const std::optional<double> from = std::exchange(takenFrom, std::nullopt); from && seconds == *from) return;
        const double target = clampToMedia(seconds);
        const std::string text = numberText(target);
        const char* command[] = {"seek", text.c_str(), "absolute+exact", nullptr};
        ++seekSerial;
        forgetReadings();
        if (mpv_command_async(mpv, seekSerial, command) < 0) return;
        seekTarget = target;
        seekFloor.reset();
        seekTaken = false;
        if (mode != Mode::Playing) heldPosition = target;
    }

    void setRate(double value) {
        processEvents();
        requireValidRate(value);
        if (headStart) {
            headStart->rate = value;
            return;
        }
        if (value == rate) return;
        forgetReadings();
        if (mpv_set_property(mpv, "speed", MPV_FORMAT_DOUBLE, &value) >= 0) rate = value;
    }

    void setVolume(std::int32_t value) {
        processEvents();
        requireValidVolume(value);
        if (headStart) {
            headStart->volume = value;
            return;
        }
        if (value == volume) return;
        // libmpv's volume is cubic: its gain is (level / 100)^3.
        double level = 100.0 * std::cbrt(volumeGain(value));
        if (mpv_set_property(mpv, "volume", MPV_FORMAT_DOUBLE, &level) >= 0) volume = value;
    }

    void setEvenLoudness(bool on) {
        processEvents();
        if (headStart) {
            headStart->levelled = on;
            return;
        }
        if (on == levelled) return;
        if (mpv_set_property_string(mpv, "af", on ? kLevelledFilters : kPlainFilters) >= 0) {
            levelled = on;
        } else {
            trace("MediaEngine: the sound engine refused the levelling filter");
        }
    }

    std::int32_t playState() {
        processEvents();
        switch (mode) {
        case Mode::Empty: return kUndefined;
        case Mode::Ready: return kReady;
        case Mode::Paused: return kPaused;
        case Mode::Stopped: return kStopped;
        case Mode::Playing: return atEnd() ? kMediaEnded : kPlaying;
        }
        return kUndefined;
    }
};

MpvEngine::MpvEngine(const std::vector<MpvOption>& extraOptions) : mState(std::make_unique<State>()) {
    useNumbersTheCWay();
    mpv_handle* mpv = mpv_create();
    if (mpv == nullptr) throw engineError(kErrEngineStart, "the sound engine (libmpv) could not be created");
    auto options = kBaseOptions;
    options.insert(options.end(), extraOptions.begin(), extraOptions.end());
    for (const auto& [option, value] : options) {
        const int status = mpv_set_option_string(mpv, option.c_str(), value.c_str());
        if (status < 0) {
            mpv_terminate_destroy(mpv);
            throw engineError(
                kErrEngineStart,
                "the sound engine refused the setting " + option + "=" + value + ": " + mpv_error_string(status));
        }
    }
    if (const int status = mpv_initialize(mpv); status < 0) {
        mpv_terminate_destroy(mpv);
        throw engineError(kErrEngineStart,
                          std::string("the sound engine could not start: ") + mpv_error_string(status));
    }
    mState->mpv = mpv;
    mpv_set_wakeup_callback(mpv, &State::onWakeup, mState.get());
}

MpvEngine::~MpvEngine() {
    mpv_set_wakeup_callback(mState->mpv, nullptr, nullptr);
    mpv_terminate_destroy(mState->mpv);
}

void MpvEngine::URL(const std::string& path) { mState->load(path); }
void MpvEngine::prepare(const std::string& path, std::chrono::milliseconds openWait) {
    mState->prepare(path, openWait);
}
bool MpvEngine::awaitPrepared(std::chrono::milliseconds limit) { return mState->awaitPrepared(limit); }
bool MpvEngine::awaitSound(std::chrono::milliseconds limit) { return mState->awaitSound(limit); }
void MpvEngine::keepPlayingForTakeover(double from) { mState->keepPlayingForTakeover(from); }
std::int32_t MpvEngine::playState() { return mState->playState(); }
EngineSettings& MpvEngine::settings() { return mState->settingsPart; }
EngineControls& MpvEngine::controls() { return mState->controlsPart; }
CurrentMedia& MpvEngine::currentMedia() { return mState->mediaPart; }
MediaCollection& MpvEngine::mediaCollection() { return mState->collectionPart; }
void MpvEngine::processEvents() { mState->processEvents(); }

void MpvEngine::setWakeupCallback(std::function<void()> callback) {
    std::lock_guard lock(mState->wakeupMutex);
    mState->wakeup = std::move(callback);
}

const RecentMedia& MpvEngine::recentMedia() const noexcept { return mState->recent; }

void MpvEngine::setLoadWaiter(LoadWaiter waiter) { mState->loadWaiter = std::move(waiter); }
void MpvEngine::setLoadLimit(std::chrono::milliseconds limit) { mState->loadLimit = limit; }

// Set only when it is not yet, so that an engine started on a thread of its
// own (startMpvEngine) merely reads the process's locale.
void useNumbersTheCWay() {
    const char* numbers = std::setlocale(LC_NUMERIC, nullptr);
    if (numbers == nullptr || std::strcmp(numbers, "C") != 0) std::setlocale(LC_NUMERIC, "C");
}

std::future<std::unique_ptr<MpvEngine>> startMpvEngine(std::string recording, std::vector<MpvOption> options) {
    useNumbersTheCWay();
    return std::async(std::launch::async, [recording = std::move(recording), options = std::move(options)] {
        auto engine = std::make_unique<MpvEngine>(options);
        if (!recording.empty()) engine->prepare(recording, kHeadStartOpenWait);
        return engine;
    });
}

}  // namespace lirabox::media
