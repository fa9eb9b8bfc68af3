#pragma once
// The one media engine the player drives. The operations keep the names of the
// player control they stand in for:
//
//   engine.URL(path);                         engine.playState();
//   engine.settings().autoStart(false);       engine.settings().rate(1.5);
//   engine.settings().volume(25);            engine.settings().evenLoudness(true);
//   engine.controls().play() / pause() / stop();
//   engine.controls().currentPosition();      engine.controls().currentPosition(12.0);
//   engine.currentMedia().duration() / name() / sourceURL();
//   engine.mediaCollection().add(url);
//
// The contract every engine keeps (tests/player/media/EngineContractTest.cpp
// holds the libmpv engine, the Windows engine and the in-memory fake to it):
//
// Threads: every call is made from the UI thread. An engine may decode and
// play on threads of its own, but never calls back into the player from them.
// Errors: a failing operation throws lirabox::RaisedError (EngineErrors.h);
// the player runs these calls in skip-on-failure mode or under the
// file-opening error message.
// Play states: nothing loaded 0, loaded and not yet played 10, playing 3,
// paused 2, stopped 1, at the end of the file 8. At the end the media stays
// loaded: play starts again from 0, a position set moves back into the file.
// Clamping: positions below 0 go to 0, positions past the length go to the
// end (8); a position read right after a set returns the new position.
// Loading: URL() returns once the file is open or has failed, and waits for
// at most the load limit (kLoadWait unless setLoadLimit() says otherwise); a
// load waiter lets the GUI keep its windows alive meanwhile. While a load
// waits, a second URL() is refused (kErrLoadBusy).

#include <chrono>
#include <cstdint>
#include <string>

#include "player/media/EngineErrors.h"
#include "player/media/RecentMedia.h"

namespace lirabox::media {

// Numbers of the errors the engine raises: lirabox::kObjectErrorBase plus one of
// these codes (RaisedError::object), source "MediaEngine".
inline constexpr std::int32_t kErrEngineStart = 4000;  // the engine itself could not be started
inline constexpr std::int32_t kErrCannotOpen = 4001;   // missing, unreadable or not a file
inline constexpr std::int32_t kErrNotPlayable = 4002;  // opened, but holds no playable sound
inline constexpr std::int32_t kErrLoadTimeout = 4003;  // no answer within the load wait
inline constexpr std::int32_t kErrBadValue = 4004;     // a rate outside 0.01 .. 100 or a volume outside 0 .. 100
inline constexpr std::int32_t kErrLoadBusy = 4005;     // another load is still waiting for its answer
inline constexpr std::int32_t kErrLoadGivenUp = 4006;  // the load waiter gave the load up (the user quit)

// Values of playState().
enum PlayState : std::int32_t {
    kUndefined = 0,
    kStopped = 1,
    kPaused = 2,
    kPlaying = 3,
    kMediaEnded = 8,
    kReady = 10,
};

class EngineSettings {
public:
    virtual ~EngineSettings() = default;
    virtual void autoStart(bool start) = 0;
    virtual void rate(double rate) = 0;            // 1.0 = normal speed, pitch kept
    virtual void volume(std::int32_t volume) = 0;  // 0 .. 100
    // Speech levelling: quiet and loud voices brought toward one level, the
    // gain held through pauses. Off until turned on; applies from the next
    // sound out, loaded or not.
    virtual void evenLoudness(bool on) = 0;
};

class EngineControls {
public:
    virtual ~EngineControls() = default;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;  // keeps the media, back to 0 s
    virtual double currentPosition() = 0;
    virtual void currentPosition(double seconds) = 0;
};

class CurrentMedia {
public:
    virtual ~CurrentMedia() = default;
    virtual double duration() = 0;   // seconds
    virtual std::string name() = 0;  // empty when nothing is loaded
    virtual std::string sourceURL() = 0;
};

class MediaCollection {
public:
    virtual ~MediaCollection() = default;
    virtual void add(const std::string& sourceURL) = 0;
};

class MediaEngine {
public:
    virtual ~MediaEngine() = default;
    // Loads the file and returns once it is open or has failed (bounded wait).
    virtual void URL(const std::string& path) = 0;
    virtual std::int32_t playState() = 0;
    virtual EngineSettings& settings() = 0;
    virtual EngineControls& controls() = 0;
    virtual CurrentMedia& currentMedia() = 0;
    virtual MediaCollection& mediaCollection() = 0;

    // The recordings opened most recently (the engine's own small library).
    virtual const RecentMedia& recentMedia() const noexcept = 0;
    // How URL() waits for the engine's answer (see EngineErrors.h).
    virtual void setLoadWaiter(LoadWaiter waiter) = 0;
    virtual void setLoadLimit(std::chrono::milliseconds limit) = 0;
};

}  // namespace lirabox::media
