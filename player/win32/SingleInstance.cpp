#include "player/SingleInstance.h"

#include <windows.h>

namespace lirabox {
namespace {

// The file system ignores case, so C:\Lirabox\lirabox.exe and
// c:\lirabox\Lirabox.exe are one program.
std::string lowerCase(std::string path) {
    if (!path.empty()) ::CharLowerBuffA(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& executable, std::string lockFolder)
    : mLockFolder(std::move(lockFolder)), mLockFile(mLockFolder + "\\" + lockName(lowerCase(executable))) {}

SingleInstance::~SingleInstance() {
    if (mLock != -1) ::CloseHandle(reinterpret_cast<HANDLE>(mLock));
}

std::string SingleInstance::defaultLockFolder() { return "Local"; }

// The mutex is never waited for: existing already is the answer. Without a
// usable mutex nothing can be told about other copies, and the program is
// let run rather than refused.
bool SingleInstance::PrevInstance() {
    if (mTested) return mPrevInstance;
    mTested = true;
    const HANDLE mutex = ::CreateMutexA(nullptr, FALSE, mLockFile.c_str());
    if (mutex == nullptr) {
        mPrevInstance = ::GetLastError() == ERROR_ACCESS_DENIED;  // held by an elevated copy
        return mPrevInstance;
    }
    mPrevInstance = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (mPrevInstance) {
        ::CloseHandle(mutex);
    } else {
        mLock = reinterpret_cast<std::intptr_t>(mutex);  // held until this object or the process goes
    }
    return mPrevInstance;
}

}  // namespace lirabox
