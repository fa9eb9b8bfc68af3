#include "player/SingleInstance.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lirabox {
namespace {

// The folder must be a real directory of ours, not something another user
// placed there (e.g. a symbolic link under /tmp).
bool isOwnFolder(const std::string& folder) {
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

}  // namespace

SingleInstance::SingleInstance(const std::string& executable, std::string lockFolder)
    : mLockFolder(std::move(lockFolder)), mLockFile(mLockFolder + "/" + lockName(executable)) {}

SingleInstance::~SingleInstance() {
    if (mLock >= 0) ::close(static_cast<int>(mLock));
}

std::string SingleInstance::defaultLockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return runtime;
    return "/tmp/lirabox-" + std::to_string(::geteuid());
}

// Without a usable lock file nothing can be told about other copies, and the
// program is let run rather than refused.
bool SingleInstance::PrevInstance() {
    if (mTested) return mPrevInstance;
    mTested = true;
    if (!isOwnFolder(mLockFolder)) return mPrevInstance;
    const int fd = ::open(mLockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return mPrevInstance;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        mLock = fd;  // held until this object or the process goes
        return mPrevInstance;
    }
    mPrevInstance = (errno == EWOULDBLOCK);
    ::close(fd);
    return mPrevInstance;
}

}  // namespace lirabox
