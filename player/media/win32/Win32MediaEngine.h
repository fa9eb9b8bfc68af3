#pragma once
// The media engine of the Windows build: Media Foundation's Source Reader
// decodes, our own time-stretch keeps the pitch at other rates, WASAPI shared
// mode plays (a silent clock stands in when there is no sound device), all on
// a playback thread of the engine's own. Positions come from the frames the
// output has actually played.
//
// It keeps the same rules as the libmpv engine: URL() waits for the file to
// open for at most the load limit (a load waiter may keep the GUI alive
// meanwhile); playState() is 0 with nothing loaded, 10 loaded and not yet
// played, 3 playing, 2 paused, 1 stopped, 8 at the end (the media stays
// loaded: play starts again from 0, a position set moves back into the file
// and plays on from there). Positions below 0 go to 0, past the length to the
// end; a position read right after a set returns the new position.

#include <chrono>
#include <memory>
#include <string>

#include "EngineErrors.h"
#include "MediaEngine.h"
#include "Playback.h"
#include "RecentMedia.h"

namespace lirabox::media {

class Win32MediaEngine final : public MediaEngine {
public:
    Win32MediaEngine();
    ~Win32MediaEngine() override;
    Win32MediaEngine(const Win32MediaEngine&) = delete;
    Win32MediaEngine& operator=(const Win32MediaEngine&) = delete;

    void URL(const std::string& path) override;
    std::int32_t playState() override;
    EngineSettings& settings() override;
    EngineControls& controls() override;
    CurrentMedia& currentMedia() override;
    MediaCollection& mediaCollection() override;

    const RecentMedia& recentMedia() const noexcept;

    // How URL() waits for the answer (see EngineErrors.h).
    void setLoadWaiter(LoadWaiter waiter);
    void setLoadLimit(std::chrono::milliseconds limit);

private:
    struct State;
    std::unique_ptr<State> mState;
};

std::unique_ptr<MediaEngine> createWin32MediaEngine();

}  // namespace lirabox::media
