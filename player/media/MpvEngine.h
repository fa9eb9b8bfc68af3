#pragma once
// The media engine on libmpv: an audio-only player without terminal, user
// configuration, scripts or key bindings, falling back to a silent output when
// the machine has no sound device (the position still runs).
//
// Threading: every call comes from the UI thread. libmpv's events are drained
// without waiting at the start of each call; the wakeup callback (called on
// libmpv's own thread) lets a GUI post a processEvents() call to its UI thread.
// Only URL() waits, and for at most the load limit (kLoadWait: long enough for
// a disk that spins up or a slow network share), all told: first for the file
// to be opened and checked on a thread of its own (the caller's thread never
// touches the file), then on libmpv's event queue; a load waiter lets a GUI
// keep its windows alive meanwhile. libmpv reads the very file that was
// checked, through its open descriptor.
//
// playState(): nothing loaded 0, loaded and not yet played 10, playing 3,
// paused 2, stopped 1, at the end of the file 8 (the media stays loaded there:
// play starts again from 0, a position set moves back into the file).
//
// Positions below 0 go to 0; positions past the length go to the end (8).
// A position read right after a set returns the new position.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "EngineErrors.h"
#include "MediaEngine.h"
#include "RecentMedia.h"

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

    const RecentMedia& recentMedia() const noexcept;

    // How URL() waits for libmpv's answer (see EngineErrors.h).
    void setLoadWaiter(LoadWaiter waiter);
    void setLoadLimit(std::chrono::milliseconds limit);

private:
    struct State;
    std::unique_ptr<State> mState;
};

std::unique_ptr<MediaEngine> createMpvEngine();

}  // namespace lirabox::media
