#include "support/AtomicFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lirabox {
namespace {

std::function<bool(atomic_file_testing::Step)>& stepHook() {
    static std::function<bool(atomic_file_testing::Step)> hook;
    return hook;
}

bool reach(atomic_file_testing::Step step) {
    const auto& hook = stepHook();
    return !hook || hook(step);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : mFd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return mFd; }
    bool valid() const { return mFd >= 0; }
    // Closes now and tells whether the close reported success.
    bool reset() {
        const int fd = std::exchange(mFd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int mFd;
};

std::optional<std::string> readAll(int fd, std::size_t maxSize) {
    std::string content;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) return content;
        if (content.size() + static_cast<std::size_t>(got) > maxSize) return std::nullopt;
        content.append(chunk, static_cast<std::size_t>(got));
    }
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t put = ::write(fd, data.data(), data.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

int openForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

// The current content of a file about to be replaced, or why it may not be.
struct Existing {
    bool refused = false;
    bool present = false;
    struct stat status {};
    std::string content;
};

Existing inspect(const std::string& path, std::size_t maxSize) {
    Existing existing;
    FileDescriptor fd(openForReading(path));
    if (!fd.valid()) {
        existing.refused = errno != ENOENT;
        return existing;
    }
    existing.present = true;
    if (::fstat(fd.get(), &existing.status) != 0 || !S_ISREG(existing.status.st_mode) ||
        static_cast<std::uintmax_t>(existing.status.st_size) > maxSize || (existing.status.st_mode & 0222) == 0 ||
        ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        existing.refused = true;
        return existing;
    }
    std::optional<std::string> content = readAll(fd.get(), maxSize);
    if (!content) {
        existing.refused = true;
        return existing;
    }
    existing.content = std::move(*content);
    return existing;
}

// The file a path names, symbolic links followed; empty when it cannot be told.
std::string resolveTarget(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return {};
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// Temporary files are named ".<name>.<process id>.tmp", so that a later write
// can tell the leftovers of a write that was killed: their process is gone.
std::string temporaryPrefix(const std::string& name) {
    constexpr std::size_t kNameKept = 64;  // keeps the temporary name within NAME_MAX
    std::string prefix(1, '.');
    prefix.append(name, 0, kNameKept);
    prefix.push_back('.');
    return prefix;
}

constexpr std::string_view kTemporarySuffix = ".tmp";

// Whether the writer a temporary file's name tells of may still be running.
// Another name (an older form) has no writer.
bool writerMayRun(std::string_view middle) {
    if (middle.empty() || middle.size() > 9 || middle.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(middle)));
    if (pid == ::getpid()) return false;  // this process writes one file at a time: its own are leftovers
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// Removes the temporary files of `name` that a killed write left in `folder`.
void removeLeftovers(const std::string& folder, const std::string& name) {
    const std::string prefix = temporaryPrefix(name);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view file(entry->d_name);
        if (file.size() <= prefix.size() + kTemporarySuffix.size() || file.substr(0, prefix.size()) != prefix ||
            file.substr(file.size() - kTemporarySuffix.size()) != kTemporarySuffix) {
            continue;
        }
        const std::string_view middle =
            file.substr(prefix.size(), file.size() - prefix.size() - kTemporarySuffix.size());
        if (!writerMayRun(middle)) ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// A new temporary file beside `target`: its descriptor and name.
std::pair<int, std::string> createTemporary(const std::string& folder, const std::string& name, mode_t mode) {
    removeLeftovers(folder, name);
    std::string temporary =
        folder + "/" + temporaryPrefix(name) + std::to_string(::getpid()) + std::string(kTemporarySuffix);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) return {-1, {}};
    return {fd, std::move(temporary)};
}

}  // namespace

std::optional<std::string> readSmallFile(const std::string& path, std::size_t maxSize) {
    FileDescriptor fd(openForReading(path));
    struct stat status {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uintmax_t>(status.st_size) > maxSize) {
        return std::nullopt;
    }
    return readAll(fd.get(), maxSize);
}

bool updateFileAtomically(const std::string& path, std::size_t maxSize,
                          const std::function<std::string(std::string_view)>& edit) {
    if (path.empty()) return false;
    const std::string target = resolveTarget(path);
    if (target.empty()) return false;
    const Existing existing = inspect(target, maxSize);
    if (existing.refused) return false;
    const std::string content = edit(existing.content);

    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    // What the file already holds is not written again: a start-up that
    // rewrites the same settings then waits for no flush to the disk.
    if (existing.present && content == existing.content) return ::access(folder.c_str(), W_OK) == 0;

    if (!reach(atomic_file_testing::Step::CreateTemporary)) return false;
    auto [rawFd, temporary] = createTemporary(folder, name, existing.present ? 0600 : 0666);
    FileDescriptor fd(rawFd);
    if (!fd.valid()) return false;
    if (existing.present) {
        // Owner first: a change of owner may clear set-id bits that the mode then restores.
        [[maybe_unused]] const int owned = ::fchown(fd.get(), existing.status.st_uid, existing.status.st_gid);
        ::fchmod(fd.get(), existing.status.st_mode & 07777);
    }

    const std::string_view data(content);
    const std::size_t half = data.size() / 2;
    const bool written = reach(atomic_file_testing::Step::WriteFirstHalf) && writeAll(fd.get(), data.substr(0, half)) &&
                         reach(atomic_file_testing::Step::WriteSecondHalf) && writeAll(fd.get(), data.substr(half)) &&
                         reach(atomic_file_testing::Step::Flush) && ::fsync(fd.get()) == 0;
    const bool closed = fd.reset();
    if (!written || !closed || !reach(atomic_file_testing::Step::Rename) ||
        ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

namespace atomic_file_testing {

void setStepHook(std::function<bool(Step)> hook) { stepHook() = std::move(hook); }

}  // namespace atomic_file_testing

}  // namespace lirabox
