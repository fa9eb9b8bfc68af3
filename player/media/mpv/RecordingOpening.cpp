#include "RecordingOpening.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "player/media/EngineErrors.h"
#include "player/media/MediaEngine.h"
#include "player/media/RecordingPath.h"
#include "player/media/WavChunks.h"

namespace lirabox::media {

RecordingOpening::Outcome RecordingOpening::refused(int descriptor, std::int32_t code, std::string text) {
    if (descriptor >= 0) close(descriptor);
    return {-1, code, std::move(text)};
}

// Opened without waiting for a writer, so that a named pipe cannot hold the
// thread; a plain file reads the same either way.
RecordingOpening::Outcome RecordingOpening::openChecked(const std::string& path) {
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

RecordingOpening::RecordingOpening(const std::string& path)
    : mWork([path] { return openChecked(path); },
            [](Outcome& unwanted) {
                if (unwanted.descriptor >= 0) close(unwanted.descriptor);
            }) {}

RecordingOpening::~RecordingOpening() = default;

bool RecordingOpening::waitFor(std::chrono::milliseconds longest) { return mWork.waitFor(longest); }

int RecordingOpening::takeDescriptor() {
    const Outcome outcome = mWork.take();
    if (outcome.errorCode != 0) throw engineError(outcome.errorCode, outcome.errorText);
    return outcome.descriptor;
}

}  // namespace lirabox::media
