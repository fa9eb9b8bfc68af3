#pragma once
// The previous-instance test: one running copy per user and executable.
//
// The first PrevInstance() takes an exclusive flock on a lock file named from
// the executable's path; a copy that finds it taken is a second instance. The
// lock is released by the kernel when the process ends, however it ends, so a
// crash leaves nothing stale behind. The running copy is never contacted.

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

    // $XDG_RUNTIME_DIR when set, otherwise /tmp/lirabox-<uid>.
    static std::string defaultLockFolder();

private:
    std::string mLockFolder;
    std::string mLockFile;
    bool mTested = false;
    bool mPrevInstance = false;
    int mFd = -1;
};

}  // namespace lirabox
