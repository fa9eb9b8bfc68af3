#include "timepost/PositionFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace lirabox::timepost {
namespace {

std::mutex gWriteMutex;

// The folder must be a real directory of ours that nobody else can enter.
int checkOrCreateFolder(const std::string& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        if (errno != ENOENT) return errno;
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (::lstat(folder.c_str(), &info) != 0) return errno;
    }
    if (S_ISLNK(info.st_mode)) return EPERM;
    if (!S_ISDIR(info.st_mode)) return ENOTDIR;
    if (info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) return EPERM;
    return 0;
}

int writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

std::string positionFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        std::string folder = runtime;
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        return (folder == "/" ? std::string() : folder) + "/lirabox";
    }
    return "/tmp/lirabox-" + std::to_string(::geteuid());
}

int writePosition(const std::string& folder, const std::string& line) {
    std::lock_guard lock(gWriteMutex);
    if (const int error = checkOrCreateFolder(folder)) return error;

    const std::string target = folder + "/position";
    const std::string temporary = folder + "/.position." + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    int error = writeAll(fd, line);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temporary.c_str());
    return error;
}

}  // namespace lirabox::timepost
