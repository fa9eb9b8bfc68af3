#pragma once
// What the desktop's media-player interface (MPRIS) shows of the player and
// what its calls do, without the bus: the bus adaptor only converts types.
// Times are in microseconds, the rate is the speed list's, the volume 0 .. 1
// stands for the volume slider's 0 .. 5000. Every call is made on the UI thread.

#include "PlayerListener.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lirabox {

class frmMain;
namespace media {
class MediaEngine;
}

class MprisPlayer final : public PlayerListener {
public:
    static constexpr double kMinimumRate = 0.5;
    static constexpr double kMaximumRate = 3.0;
    static constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

    struct Track {
        std::string trackId;  // a D-Bus object path, new for every load
        std::string title;    // the file name
        std::string path;     // as the engine opened it
        std::int64_t length = 0;
        bool operator==(const Track&) const = default;
    };

    // Names of the properties that changed, as the interface spells them.
    using ChangeHandler = std::function<void(const std::vector<std::string>& properties)>;
    // The position after a jump.
    using SeekHandler = std::function<void(std::int64_t position)>;

    MprisPlayer(frmMain& player, media::MediaEngine& engine);
    ~MprisPlayer() override;
    MprisPlayer(const MprisPlayer&) = delete;
    MprisPlayer& operator=(const MprisPlayer&) = delete;

    void onChanged(ChangeHandler handler) { mChanged = std::move(handler); }
    void onSeeked(SeekHandler handler) { mSeeked = std::move(handler); }

    // Properties.
    std::string playbackStatus() const;  // "Playing", "Paused" or "Stopped"
    const std::optional<Track>& track() const { return mTrack; }
    std::int64_t position() const;
    double rate() const;
    double volume() const;
    bool hasTrack() const { return mTrack.has_value(); }  // CanPlay, CanPause, CanSeek

    // Methods.
    void playPause();
    void play();  // no effect while playing
    void pause();
    void stop();
    // The track keys of headsets and keyboards: there is one recording, so
    // they step through it as fast-forward and rewind do (the step lengths).
    void next();
    void previous();
    void seek(std::int64_t offset);
    void setPosition(const std::string& trackId, std::int64_t position);
    // Loads without playing; a file that cannot be opened is thrown
    // (RaisedError) for the caller to answer, and no message box is shown.
    void openFile(const std::string& path);
    void quit();
    void setRate(double rate);
    void setVolume(double volume);

    // PlayerListener
    void playingChanged(bool playing) override;
    void positionJumped(double seconds) override;
    void rateChanged(double rate) override;
    void recordingLoaded(const std::string& name, double seconds) override;
    void recordingUnloaded() override;
    void volumeChanged(std::int32_t value) override;

private:
    struct Shown {
        std::string status;
        std::optional<Track> track;
        double rate = 1.0;
        double volume = 0.0;
    };

    Shown current() const;
    std::optional<Track> loadedTrack();
    void report();
    std::int64_t withinTrack(double seconds) const;

    frmMain& mPlayer;
    media::MediaEngine& mEngine;
    ChangeHandler mChanged;
    SeekHandler mSeeked;
    std::uint64_t mLoads = 0;
    std::optional<Track> mTrack;
    Shown mShown;
};

}  // namespace lirabox
