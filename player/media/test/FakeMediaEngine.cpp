#include "FakeMediaEngine.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "RaisedError.h"

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
    return call == "playState()" || call == "controls.currentPosition()" ||
           call == "currentMedia.duration()" || call == "currentMedia.name()" ||
           call == "currentMedia.sourceURL()";
}

}  // namespace

class FakeMediaEngine::Settings : public EngineSettings {
public:
    explicit Settings(FakeMediaEngine& e) : e_(e) {}
    void autoStart(bool start) override {
        e_.record("settings.autoStart", start ? "true" : "false");
        e_.autoStart_ = start;
    }
    void rate(double rate) override {
        e_.record("settings.rate", number(rate));
        refuseUnless(rate >= 0.01 && rate <= 100, "the rate");
        e_.rate_ = rate;
    }
    void volume(std::int32_t volume) override {
        e_.record("settings.volume", std::to_string(volume));
        refuseUnless(volume >= 0 && volume <= 100, "the volume");
        e_.volume_ = volume;
    }

private:
    FakeMediaEngine& e_;
};

class FakeMediaEngine::Controls : public EngineControls {
public:
    explicit Controls(FakeMediaEngine& e) : e_(e) {}
    void play() override {
        e_.record("controls.play", "");
        if (e_.loaded_) e_.playState_ = kPlaying;
    }
    void pause() override {
        e_.record("controls.pause", "");
        if (e_.loaded_ && e_.playState_ == kPlaying) e_.playState_ = kPaused;
    }
    void stop() override {
        e_.record("controls.stop", "");
        if (e_.loaded_) {
            e_.playState_ = kStopped;
            e_.position_ = 0.0;
        }
    }
    double currentPosition() override {
        e_.record("controls.currentPosition", "");
        return e_.position_;
    }
    void currentPosition(double seconds) override {
        e_.record("controls.currentPosition", number(seconds));
        refuseUnless(!std::isnan(seconds), "the position");
        e_.position_ = std::max(seconds, 0.0);
    }

private:
    FakeMediaEngine& e_;
};

class FakeMediaEngine::Media : public CurrentMedia {
public:
    explicit Media(FakeMediaEngine& e) : e_(e) {}
    double duration() override {
        e_.record("currentMedia.duration", "");
        return e_.duration_;
    }
    std::string name() override {
        e_.record("currentMedia.name", "");
        return e_.name_;
    }
    std::string sourceURL() override {
        e_.record("currentMedia.sourceURL", "");
        return e_.loaded_ ? e_.url_ : std::string();
    }

private:
    FakeMediaEngine& e_;
};

class FakeMediaEngine::Collection : public MediaCollection {
public:
    explicit Collection(FakeMediaEngine& e) : e_(e) {}
    void add(const std::string& sourceURL) override {
        e_.record("mediaCollection.add", sourceURL);
        e_.library_.push_back(sourceURL);
    }

private:
    FakeMediaEngine& e_;
};

FakeMediaEngine::FakeMediaEngine()
    : settings_(std::make_unique<Settings>(*this)),
      controls_(std::make_unique<Controls>(*this)),
      media_(std::make_unique<Media>(*this)),
      collection_(std::make_unique<Collection>(*this)) {}

FakeMediaEngine::~FakeMediaEngine() = default;

void FakeMediaEngine::URL(const std::string& path) {
    record("URL", path);
    loaded_ = false;
    url_ = path;
    name_.clear();
    duration_ = 0.0;
    position_ = 0.0;
    playState_ = kUndefined;
    if (const auto failure = loadFailures_.find(path); failure != loadFailures_.end()) {
        throw RaisedError(failure->second, "MediaEngine", "cannot open " + path);
    }
    loaded_ = true;
    const auto duration = durations_.find(path);
    duration_ = duration != durations_.end() ? duration->second : defaultDuration_;
    const auto name = names_.find(path);
    name_ = name != names_.end() ? name->second : fileNameOf(path);
    playState_ = autoStart_ ? kPlaying : kReady;
}

std::int32_t FakeMediaEngine::playState() {
    record("playState", "");
    return playState_;
}

EngineSettings& FakeMediaEngine::settings() { return *settings_; }
EngineControls& FakeMediaEngine::controls() { return *controls_; }
CurrentMedia& FakeMediaEngine::currentMedia() { return *media_; }
MediaCollection& FakeMediaEngine::mediaCollection() { return *collection_; }

void FakeMediaEngine::failLoad(const std::string& path, std::int32_t errorNumber) {
    loadFailures_[path] = errorNumber;
}

void FakeMediaEngine::failOperation(const std::string& operation, std::int32_t errorNumber) {
    operationFailures_[operation] = errorNumber;
}

void FakeMediaEngine::clearFailures() {
    loadFailures_.clear();
    operationFailures_.clear();
}

std::vector<std::string> FakeMediaEngine::commands() const {
    std::vector<std::string> result;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result),
                 [](const std::string& call) { return !isRead(call); });
    return result;
}

int FakeMediaEngine::count(const std::string& call) const {
    return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
}

void FakeMediaEngine::record(const std::string& operation, const std::string& argument) {
    calls_.push_back(operation + "(" + argument + ")");
    if (const auto failure = operationFailures_.find(operation); failure != operationFailures_.end()) {
        throw RaisedError(failure->second, "MediaEngine", operation + " failed");
    }
}

}  // namespace lirabox::test
