#pragma once
// The media engine of the Windows build (the contract: MediaEngine.h): Media
// Foundation's Source Reader decodes, our own time-stretch keeps the pitch at
// other rates, WASAPI shared mode plays (a silent clock stands in when there
// is no sound device).
//
// Threads: decoding and output run on a playback thread of the engine's own;
// the UI thread's calls hand it commands. Positions come from the frames the
// output has actually played.

#include <chrono>
#include <memory>
#include <string>

#include "Playback.h"
#include "player/media/EngineErrors.h"
#include "player/media/MediaEngine.h"
#include "player/media/RecentMedia.h"

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

    const RecentMedia& recentMedia() const noexcept override;
    void setLoadWaiter(LoadWaiter waiter) override;
    void setLoadLimit(std::chrono::milliseconds limit) override;

private:
    struct State;
    std::unique_ptr<State> mState;
};

std::unique_ptr<MediaEngine> createWin32MediaEngine();

}  // namespace lirabox::media
