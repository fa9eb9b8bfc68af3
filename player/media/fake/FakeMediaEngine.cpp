#include "FakeMediaEngine.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "support/RaisedError.h"

namespace lirabox::test {
namespace {

using namespace lirabox::media;

std::string number(double value) {
    std::ostringstream text;
    text.precision(15);
    text << value;
    return text.str();
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The engine refuses values out of range as the real one does.
void refuseUnless(bool valid, const std::string& what) {
    if (!valid) throw RaisedError::object(kErrBadValue, "MediaEngine", what + " is out of range");
}

bool isRead(const std::string& call) {
    return call == "playState()" || call == "controls.currentPosition()" || call == "currentMedia.duration()" ||
           call == "currentMedia.name()" || call == "currentMedia.sourceURL()";
}

}  // namespace

class FakeMediaEngine::Settings : public EngineSettings {
public:
    explicit Settings(FakeMediaEngine& e) : mEngine(e) {}
    void autoStart(bool start) override {
        mEngine.record("settings.autoStart", start ? "true" : "false");
        mEngine.mAutoStart = start;
    }
    void rate(double rate) override {
        mEngine.record("settings.rate", number(rate));
        refuseUnless(rate >= 0.01 && rate <= 100, "the rate");
        mEngine.mRate = rate;
    }
    void volume(std::int32_t volume) override {
        mEngine.record("settings.volume", std::to_string(volume));
        refuseUnless(volume >= 0 && volume <= 100, "the volume");
        mEngine.mVolume = volume;
    }
    void evenLoudness(bool on) override {
        mEngine.record("settings.evenLoudness", on ? "true" : "false");
        mEngine.mEvenLoudness = on;
    }

private:
    FakeMediaEngine& mEngine;
};

class FakeMediaEngine::Controls : public EngineControls {
public:
    explicit Controls(FakeMediaEngine& e) : mEngine(e) {}
    void play() override {
        mEngine.record("controls.play", "");
        if (mEngine.mLoaded) mEngine.mPlayState = kPlaying;
    }
    void pause() override {
        mEngine.record("controls.pause", "");
        if (mEngine.mLoaded && mEngine.mPlayState == kPlaying) mEngine.mPlayState = kPaused;
    }
    void stop() override {
        mEngine.record("controls.stop", "");
        if (mEngine.mLoaded) {
            mEngine.mPlayState = kStopped;
            mEngine.mPosition = 0.0;
        }
    }
    double currentPosition() override {
        mEngine.record("controls.currentPosition", "");
        return mEngine.mPosition;
    }
    void currentPosition(double seconds) override {
        mEngine.record("controls.currentPosition", number(seconds));
        refuseUnless(!std::isnan(seconds), "the position");
        mEngine.mPosition = std::max(seconds, 0.0);
    }

private:
    FakeMediaEngine& mEngine;
};

class FakeMediaEngine::Media : public CurrentMedia {
public:
    explicit Media(FakeMediaEngine& e) : mEngine(e) {}
    double duration() override {
        mEngine.record("currentMedia.duration", "");
        return mEngine.mDuration;
    }
    std::string name() override {
        mEngine.record("currentMedia.name", "");
        return mEngine.mName;
    }
    std::string sourceURL() override {
        mEngine.record("currentMedia.sourceURL", "");
        return mEngine.mLoaded ? mEngine.mUrl : std::string();
    }

private:
    FakeMediaEngine& mEngine;
};

class FakeMediaEngine::Collection : public MediaCollection {
public:
    explicit Collection(FakeMediaEngine& e) : mEngine(e) {}
    void add(const std::string& sourceURL) override {
        mEngine.record("mediaCollection.add", sourceURL);
        mEngine.mLibrary.push_back(sourceURL);
    }

private:
    FakeMediaEngine& mEngine;
};

FakeMediaEngine::FakeMediaEngine()
    : mSettings(std::make_unique<Settings>(*this)), mControls(std::make_unique<Controls>(*this)),
      mMedia(std::make_unique<Media>(*this)), mCollection(std::make_unique<Collection>(*this)) {}

FakeMediaEngine::~FakeMediaEngine() = default;

void FakeMediaEngine::URL(const std::string& path) {
    record("URL", path);
    if (mLoadWaiter) mLoadWaiter([] { return true; });
    const auto failure = mLoadFailures.find(path);
    const bool cannotOpen = failure != mLoadFailures.end() && failure->second == kObjectErrorBase + kErrCannotOpen;
    if (!cannotOpen) {
        mLoaded = false;
        mUrl = path;
        mName.clear();
        mDuration = 0.0;
        mPosition = 0.0;
        mPlayState = kUndefined;
    }
    if (failure != mLoadFailures.end()) throw RaisedError(failure->second, "MediaEngine", "cannot open " + path);
    mLoaded = true;
    const auto duration = mDurations.find(path);
    mDuration = duration != mDurations.end() ? duration->second : mDefaultDuration;
    const auto name = mNames.find(path);
    mName = name != mNames.end() ? name->second : fileNameOf(path);
    mPlayState = mAutoStart ? kPlaying : kReady;
    mRecent.add(path);
}

std::int32_t FakeMediaEngine::playState() {
    record("playState", "");
    return mPlayState;
}

EngineSettings& FakeMediaEngine::settings() { return *mSettings; }
EngineControls& FakeMediaEngine::controls() { return *mControls; }
CurrentMedia& FakeMediaEngine::currentMedia() { return *mMedia; }
MediaCollection& FakeMediaEngine::mediaCollection() { return *mCollection; }

void FakeMediaEngine::failLoad(const std::string& path, std::int32_t errorNumber) { mLoadFailures[path] = errorNumber; }

void FakeMediaEngine::failOperation(const std::string& operation, std::int32_t errorNumber) {
    mOperationFailures[operation] = errorNumber;
}

void FakeMediaEngine::clearFailures() {
    mLoadFailures.clear();
    mOperationFailures.clear();
}

std::vector<std::string> FakeMediaEngine::commands() const {
    std::vector<std::string> result;
    std::copy_if(mCalls.begin(), mCalls.end(), std::back_inserter(result), [](const std::string& call) {
        return !isRead(call);
    });
    return result;
}

int FakeMediaEngine::count(const std::string& call) const {
    return static_cast<int>(std::count(mCalls.begin(), mCalls.end(), call));
}

void FakeMediaEngine::record(const std::string& operation, const std::string& argument) {
    mCalls.push_back(operation + "(" + argument + ")");
    if (const auto failure = mOperationFailures.find(operation); failure != mOperationFailures.end()) {
        throw RaisedError(failure->second, "MediaEngine", operation + " failed");
    }
}

}  // namespace lirabox::test
