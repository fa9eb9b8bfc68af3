#pragma once
// The media engine on libmpv (the contract: MediaEngine.h): an audio-only
// player without terminal, user configuration, scripts or key bindings,
// falling back to a silent output when the machine has no sound device (the
// position still runs).
//
// Threads: libmpv decodes and plays on threads of its own. Its events are
// drained without waiting at the start of each call that follows libmpv's
// wakeup (a call with nothing queued does not touch libmpv's queue); the
// wakeup callback (called on libmpv's own thread) lets a GUI post a
// processEvents() call to its UI thread. URL() waits, for at most the load
// limit all told: first for the file to be opened and checked on a thread of
// its own (the caller's thread never touches the file), then on libmpv's event
// queue; prepare(), awaitPrepared() and awaitSound() wait at most as long as
// they are given. libmpv reads the very file that was checked, through its
// open descriptor.

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "player/media/EngineErrors.h"
#include "player/media/MediaEngine.h"
#include "player/media/RecentMedia.h"

namespace lirabox::media {

// libmpv option name and value, applied after the engine's own set-up.
using MpvOption = std::pair<std::string, std::string>;

class MpvEngine final : public MediaEngine {
public:
    // Throws RaisedError kErrEngineStart when libmpv cannot be set up.
    explicit MpvEngine(const std::vector<MpvOption>& extraOptions = {});
    ~MpvEngine() override;
    MpvEngine(const MpvEngine&) = delete;
    MpvEngine& operator=(const MpvEngine&) = delete;

    void URL(const std::string& path) override;
    // Begins loading `path`, paused, ahead of the URL(path) that takes the
    // load over where it stands (its checks, errors and load limit are
    // URL()'s, the limit counted from here). Waits at most `openWait` for the
    // file to be opened and checked; libmpv is then given it and not waited
    // for. Meant for a fresh engine, from the thread that constructed it.
    // URL() of another file, or with autoStart on, drops the begun load.
    void prepare(const std::string& path, std::chrono::milliseconds openWait);
    // Waits at most `limit` (and never past the load limit) for the load
    // prepare() began to be decided; true when the file is loaded and can be
    // taken over by URL() at once, false otherwise (a refusal stays for URL()
    // to report).
    bool awaitPrepared(std::chrono::milliseconds limit);
    // Waits at most `limit` until the sound runs (libmpv's position moves);
    // true once it does, false when the limit came first or nothing plays.
    bool awaitSound(std::chrono::milliseconds limit);
    // Hands what plays now, begun at `from`, on to a later owner: until the
    // next URL(), rate, volume and levelling given are held and applied by
    // that URL(). When it names the playing recording and the sound has not
    // ended, URL() keeps it playing where it is (as loaded and playing), and
    // the first position set after it, when it is `from`, is not set again
    // (a pause or stop forgets `from`). Nothing when the engine does not play.
    void keepPlayingForTakeover(double from);
    std::int32_t playState() override;
    EngineSettings& settings() override;
    EngineControls& controls() override;
    CurrentMedia& currentMedia() override;
    MediaCollection& mediaCollection() override;

    // Handles every event libmpv has queued, without waiting.
    void processEvents();
    // Called from libmpv's thread whenever events are queued; an empty function
    // removes it. Once this returns, the previous callback is not running and
    // will not be called again. The callback must not call into the engine.
    void setWakeupCallback(std::function<void()> callback);

    const RecentMedia& recentMedia() const noexcept override;
    void setLoadWaiter(LoadWaiter waiter) override;
    void setLoadLimit(std::chrono::milliseconds limit) override;

private:
    struct State;
    std::unique_ptr<State> mState;
};

// libmpv needs numbers read and written the "C" way. An engine constructed
// sets it; call this again, on the thread that owns the engines, after anything
// that set the process's locale meanwhile (QApplication does).
void useNumbersTheCWay();

// Constructs the engine on a thread of its own and, when `recording` is not
// empty, begins loading it there (prepare()), so that libmpv starts and opens
// the file while the caller builds its windows. get() gives the engine, which
// from then on belongs to the caller's thread, or throws the RaisedError of
// its construction. The C numeric locale libmpv needs is set on the caller's
// thread before the thread starts; nobody may change the locale afterwards.
std::future<std::unique_ptr<MpvEngine>> startMpvEngine(std::string recording, std::vector<MpvOption> options = {});

}  // namespace lirabox::media
