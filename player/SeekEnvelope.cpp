#include "SeekEnvelope.h"

#include <chrono>
#include <system_error>
#include <utility>

#include "player/media/EnvelopeSource.h"
#include "support/ThreadPriority.h"
#include "support/Utf8Path.h"

namespace lirabox {
namespace {

// Redraws while measuring come at most this often.
constexpr std::chrono::milliseconds kNotifyEvery {100};

}  // namespace

SeekEnvelope::SeekEnvelope(media::MediaEngine& engine, std::filesystem::path storeFile)
    : mEngine(engine), mStoreFile(std::move(storeFile)) {
    if (!mStoreFile.empty()) mKept = readKeptEnvelopes(mStoreFile, kKept);
}

SeekEnvelope::~SeekEnvelope() { stop(); }

void SeekEnvelope::setChangedCallback(std::function<void()> changed) {
    std::lock_guard lock(mCallbackMutex);
    mChanged = std::move(changed);
}

void SeekEnvelope::setColumns(std::size_t columns) {
    if (columns == mColumns) return;
    mColumns = columns;
    if (!mPath.empty()) start();
}

std::vector<float> SeekEnvelope::levels() const {
    std::lock_guard lock(mMutex);
    return mEnvelope ? mEnvelope->levels() : std::vector<float> {};
}

bool SeekEnvelope::complete() const {
    std::lock_guard lock(mMutex);
    return mEnvelope && mEnvelope->complete();
}

void SeekEnvelope::recordingLoaded(const std::string&, double) {
    mPath = mEngine.currentMedia().sourceURL();
    mFocus = 0.0;
    start();
}

void SeekEnvelope::recordingUnloaded() {
    stop();
    mPath.clear();
    {
        std::lock_guard lock(mMutex);
        mEnvelope.reset();
    }
    notify();
}

void SeekEnvelope::start() {
    stop();
    EnvelopeKey key {mPath, 0, {}, mColumns};
    std::error_code unreadable;
    const std::filesystem::path file = pathFromUtf8(mPath);
    key.size = std::filesystem::file_size(file, unreadable);
    if (!unreadable) key.modified = std::filesystem::last_write_time(file, unreadable);
    std::shared_ptr<media::LoudnessEnvelope> envelope;
    {
        std::lock_guard lock(mMutex);
        for (auto kept = mKept.begin(); kept != mKept.end(); ++kept) {
            if (!unreadable && kept->key == key) {
                mKept.splice(mKept.begin(), mKept, kept);
                envelope = std::make_shared<media::LoudnessEnvelope>(kept->levels);
                break;
            }
        }
        if (!envelope && mColumns > 0) envelope = std::make_shared<media::LoudnessEnvelope>(mColumns);
        mEnvelope = envelope;
    }
    notify();
    if (!envelope || envelope->complete() || unreadable) return;
    mStop = false;
    mWorker = std::thread([this, key, envelope] { measure(key, envelope); });
}

void SeekEnvelope::stop() {
    mStop = true;
    if (mWorker.joinable()) mWorker.join();
}

void SeekEnvelope::measure(EnvelopeKey key, std::shared_ptr<media::LoudnessEnvelope> envelope) {
    lowerThisThreadPriority();
    const std::unique_ptr<media::EnvelopeSource> source = media::openEnvelopeSource(key.path);
    if (!source) return;
    const bool whole = envelope->compute(
        *source, [this] { return mFocus.load(); }, mStop, [this] { notify(true); });
    std::list<KeptEnvelope> kept;
    if (whole) {
        std::lock_guard lock(mMutex);
        mKept.push_front({std::move(key), envelope->levels()});
        if (mKept.size() > kKept) mKept.pop_back();
        kept = mKept;
    }
    notify();
    // Only this worker writes the store, and one worker runs at a time.
    if (whole && !mStoreFile.empty()) writeKeptEnvelopes(mStoreFile, kept);
}

// Called under its own lock, so that once setChangedCallback has replaced
// the callback, the old one is neither running nor called again.
void SeekEnvelope::notify(bool throttled) {
    std::lock_guard lock(mCallbackMutex);
    const auto now = std::chrono::steady_clock::now();
    if (throttled && now - mNotified < kNotifyEvery) return;
    mNotified = now;
    if (mChanged) mChanged();
}

}  // namespace lirabox
