#pragma once
// The previous-instance test: one running copy per user and executable.
//
// The first PrevInstance() takes a lock named from the executable's path
// (lockName); a copy that finds it taken is a second instance. The system
// releases the lock when the process ends, however it ends, so a crash leaves
// nothing stale behind. The running copy is never contacted.
//   posix/: an exclusive flock on the file <lock folder>/<lockName>.
//   win32/: the named mutex <lock folder>\<lockName>, the lock folder being a
//           namespace of the session's objects ("Local").

#include <cstdint>
#include <string>

namespace lirabox {

class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // True when an earlier copy of the same program is running.
    virtual bool PrevInstance() = 0;
};

class SingleInstance final : public InstanceGuard {
public:
    // For the running executable, in defaultLockFolder().
    SingleInstance();
    SingleInstance(const std::string& executable, std::string lockFolder);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool PrevInstance() override;

    const std::string& lockFilePath() const { return mLockFile; }

    // $XDG_RUNTIME_DIR when set, otherwise /tmp/lirabox-<uid>; "Local" on Windows.
    static std::string defaultLockFolder();

    // "lirabox-<hash of the path>.lock": the same for every copy of one executable.
    static std::string lockName(const std::string& executable);

private:
    std::string mLockFolder;
    std::string mLockFile;
    bool mTested = false;
    bool mPrevInstance = false;
    std::intptr_t mLock = -1;  // the held file descriptor or mutex handle
};

}  // namespace lirabox
