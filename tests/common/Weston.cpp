#include "Weston.h"

#include "Polling.h"

#include <csignal>
#include <cstdlib>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace lirabox::test {

namespace fs = std::filesystem;

Weston::Weston() {
    fs::permissions(mTemp.path(), fs::perms::owner_all, fs::perm_options::replace);
    ::setenv("XDG_RUNTIME_DIR", mTemp.path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", mTemp.path().c_str(), 1);
    const char* argv[] = {"weston", "--backend=headless-backend.so", "--socket=wayland-test", "--idle-time=0", nullptr};
    if (::posix_spawnp(&mPid, "weston", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) mPid = 0;
    waitUntil([&] { return fs::exists(socket()); });
}

Weston::~Weston() {
    if (mPid <= 0) return;
    ::kill(mPid, SIGTERM);
    ::waitpid(mPid, nullptr, 0);
}

void Weston::useForPrograms() const {
    ::unsetenv("DISPLAY");
    ::setenv("WAYLAND_DISPLAY", socket().c_str(), 1);
}

}  // namespace lirabox::test
