#include "RecordingOpening.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "player/media/EngineErrors.h"
#include "player/media/MediaEngine.h"
#include "player/media/RecordingPath.h"
#include "player/media/WavChunks.h"

namespace lirabox::media {

struct RecordingOpening::Shared {
    std::mutex mutex;
    std::condition_variable finishedChanged;
    bool finished = false;
    bool abandoned = false;
    int descriptor = -1;
    std::int32_t errorCode = 0;
    std::string errorText;
};

namespace {

struct Outcome {
    int descriptor = -1;
    std::int32_t errorCode = 0;
    std::string errorText;
};

Outcome refused(int descriptor, std::int32_t code, std::string text) {
    if (descriptor >= 0) close(descriptor);
    return {-1, code, std::move(text)};
}

// Opened without waiting for a writer, so that a named pipe cannot hold the
// thread; a plain file reads the same either way.
Outcome openChecked(const std::string& path) {
    if (auto reason = unusableNameReason(path); !reason.empty()) return refused(-1, kErrCannotOpen, std::move(reason));
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return refused(-1, kErrCannotOpen, "the file does not exist: " + path);
        return refused(
            -1, kErrCannotOpen, "the file cannot be read (" + std::string(std::strerror(errno)) + "): " + path);
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0) return refused(descriptor, kErrCannotOpen, "the file cannot be read: " + path);
    if (S_ISDIR(status.st_mode))
        return refused(descriptor, kErrCannotOpen, "this is a folder, not a recording: " + path);
    if (!S_ISREG(status.st_mode)) return refused(descriptor, kErrCannotOpen, "this is not a plain file: " + path);
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    const ReadAt read = [descriptor](std::uint64_t offset, char* bytes, std::size_t count) -> std::size_t {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t got = pread(descriptor, bytes + done, count - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<std::size_t>(got);
        }
        return done;
    };
    if (!riffChunkSizesFit(read, static_cast<std::uint64_t>(status.st_size))) {
        return refused(descriptor, kErrNotPlayable, "the file claims more data than it holds: " + path);
    }
    return {descriptor, 0, {}};
}

}  // namespace

RecordingOpening::RecordingOpening(const std::string& path) : mShared(std::make_shared<Shared>()) {
    std::thread([shared = mShared, path] {
        Outcome outcome = openChecked(path);
        std::lock_guard lock(shared->mutex);
        if (shared->abandoned && outcome.descriptor >= 0) close(outcome.descriptor);
        shared->descriptor = shared->abandoned ? -1 : outcome.descriptor;
        shared->errorCode = outcome.errorCode;
        shared->errorText = std::move(outcome.errorText);
        shared->finished = true;
        shared->finishedChanged.notify_all();
    }).detach();
}

RecordingOpening::~RecordingOpening() {
    std::lock_guard lock(mShared->mutex);
    mShared->abandoned = true;
    if (mShared->descriptor >= 0) close(mShared->descriptor);
    mShared->descriptor = -1;
}

bool RecordingOpening::waitFor(std::chrono::milliseconds longest) {
    std::unique_lock lock(mShared->mutex);
    return mShared->finishedChanged.wait_for(lock, longest, [&] { return mShared->finished; });
}

int RecordingOpening::takeDescriptor() {
    std::lock_guard lock(mShared->mutex);
    if (mShared->errorCode != 0) throw engineError(mShared->errorCode, mShared->errorText);
    const int descriptor = mShared->descriptor;
    mShared->descriptor = -1;
    return descriptor;
}

}  // namespace lirabox::media
