#include "MprisPlayer.h"

#include "frmMain.h"
#include "player/media/MediaEngine.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace lirabox {
namespace {

constexpr double kMicroseconds = 1e6;
constexpr double kSliderFullVolume = 5000;
constexpr const char* kTrackPathPrefix = "/io/github/lirabox/Track/";

std::int64_t microseconds(double seconds) { return std::llround(seconds * kMicroseconds); }

}  // namespace

MprisPlayer::MprisPlayer(frmMain& player, media::MediaEngine& engine) : mPlayer(player), mEngine(engine) {
    mTrack = loadedTrack();
    mShown = current();
    mPlayer.addListener(*this);
}

MprisPlayer::~MprisPlayer() { mPlayer.removeListener(*this); }

// ---------------------------------------------------------------------------
// Properties

std::string MprisPlayer::playbackStatus() const {
    try {
        switch (mEngine.playState()) {
        case media::kPlaying: return "Playing";
        case media::kPaused: return "Paused";
        default: return "Stopped";
        }
    } catch (...) {
        return "Stopped";
    }
}

std::int64_t MprisPlayer::position() const {
    if (!mTrack) return 0;
    double seconds = 0;
    try {
        seconds = mEngine.controls().currentPosition();
    } catch (...) {
        return 0;
    }
    return withinTrack(seconds);
}

std::int64_t MprisPlayer::withinTrack(double seconds) const {
    if (!mTrack || !(seconds > 0)) return 0;
    return std::min(microseconds(seconds), mTrack->length);
}

double MprisPlayer::rate() const { return mPlayer.playRate(); }

double MprisPlayer::volume() const { return mPlayer.volumeSlider().Value() / kSliderFullVolume; }

// ---------------------------------------------------------------------------
// Methods

void MprisPlayer::playPause() { mPlayer.runCommand(Command::PlayPause); }

void MprisPlayer::play() {
    // The player's own play command steps back on every use; here a second
    // Play must leave playback alone.
    if (playbackStatus() != "Playing") mPlayer.runCommand(Command::Play);
}

void MprisPlayer::pause() { mPlayer.runCommand(Command::Pause); }
void MprisPlayer::stop() { mPlayer.runCommand(Command::Stop); }
void MprisPlayer::next() { mPlayer.runCommand(Command::FastForward); }
void MprisPlayer::previous() { mPlayer.runCommand(Command::Rewind); }
void MprisPlayer::quit() { mPlayer.runCommand(Command::Quit); }
void MprisPlayer::openFile(const std::string& path) { mPlayer.openFile(path); }

// Beyond the end would mean the next track, and there is none: nothing happens.
void MprisPlayer::seek(std::int64_t offset) {
    if (!mTrack) return;
    const std::int64_t from = position();
    if (offset > mTrack->length - from) return;
    const std::int64_t target = offset < -from ? 0 : from + offset;
    mPlayer.seekTo(target / kMicroseconds);
}

void MprisPlayer::setPosition(const std::string& trackId, std::int64_t target) {
    if (!mTrack || trackId != mTrack->trackId || target < 0 || target > mTrack->length) return;
    mPlayer.seekTo(target / kMicroseconds);
}

// Rates land on the speed list's items: 0.5 .. 3 in steps of 0.1.
void MprisPlayer::setRate(double rate) {
    if (std::isnan(rate)) return;
    if (rate == 0) {
        pause();
        return;
    }
    const double step = std::round(std::clamp(rate, kMinimumRate, kMaximumRate) * 10) / 10;
    mPlayer.setPlayRate(step);
}

void MprisPlayer::setVolume(double volume) {
    if (std::isnan(volume)) return;
    const double value = std::clamp(volume, 0.0, 1.0) * kSliderFullVolume;
    mPlayer.volumeSlider().setValue(static_cast<std::int32_t>(std::lround(value)));
}

// ---------------------------------------------------------------------------
// Player events

void MprisPlayer::playingChanged(bool) { report(); }
void MprisPlayer::rateChanged(double) { report(); }
void MprisPlayer::volumeChanged(std::int32_t) { report(); }

// The place jumped to, within the recording as the engine keeps it.
void MprisPlayer::positionJumped(double seconds) {
    report();  // a stop ends in a jump to 0 and may change the status
    if (mSeeked) mSeeked(withinTrack(seconds));
}

void MprisPlayer::recordingLoaded(const std::string&, double) {
    mTrack = loadedTrack();
    report();
}

void MprisPlayer::recordingUnloaded() {
    mTrack.reset();
    report();
}

std::optional<MprisPlayer::Track> MprisPlayer::loadedTrack() {
    try {
        media::CurrentMedia& media = mEngine.currentMedia();
        if (media.name().empty()) return std::nullopt;
        Track track;
        track.trackId = kTrackPathPrefix + std::to_string(++mLoads);
        track.path = media.sourceURL();
        track.title = std::filesystem::path(track.path).filename().string();
        const double seconds = media.duration();
        track.length = seconds > 0 ? microseconds(seconds) : 0;
        return track;
    } catch (...) {
        return std::nullopt;
    }
}

MprisPlayer::Shown MprisPlayer::current() const { return Shown {playbackStatus(), mTrack, rate(), volume()}; }

void MprisPlayer::report() {
    const Shown now = current();
    std::vector<std::string> changed;
    if (now.status != mShown.status) changed.emplace_back("PlaybackStatus");
    if (now.track != mShown.track) changed.emplace_back("Metadata");
    if (now.track.has_value() != mShown.track.has_value()) {
        changed.insert(changed.end(), {"CanPlay", "CanPause", "CanSeek"});
    }
    if (now.rate != mShown.rate) changed.emplace_back("Rate");
    if (now.volume != mShown.volume) changed.emplace_back("Volume");
    mShown = now;
    if (!changed.empty() && mChanged) mChanged(changed);
}

}  // namespace lirabox
