#include "SingleInstance.h"

#include "support/AppPaths.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lirabox {
namespace {

// FNV-1a: a stable name for the lock file of one executable path.
std::uint64_t pathHash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// The folder must be a real directory of ours, not something another user
// placed there (e.g. a symbolic link under /tmp).
bool isOwnFolder(const std::string& folder) {
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

}  // namespace

SingleInstance::SingleInstance() : SingleInstance(executablePath(), defaultLockFolder()) {}

SingleInstance::SingleInstance(const std::string& executable, std::string lockFolder)
    : mLockFolder(std::move(lockFolder)) {
    char name[40];
    std::snprintf(name, sizeof name, "/lirabox-%016llx.lock",
                  static_cast<unsigned long long>(pathHash(executable)));
    mLockFile = mLockFolder + name;
}

SingleInstance::~SingleInstance() {
    if (mFd >= 0) ::close(mFd);
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
        mFd = fd;  // held until this object or the process goes
        return mPrevInstance;
    }
    mPrevInstance = (errno == EWOULDBLOCK);
    ::close(fd);
    return mPrevInstance;
}

}  // namespace lirabox
