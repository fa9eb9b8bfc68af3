#pragma once
// A headless weston of the test's own: a Wayland session without X. Its
// runtime folder (XDG_RUNTIME_DIR, also XDG_CONFIG_HOME so no weston.ini of
// the user's is read) is set in the test's environment.

#include "TempFolder.h"

#include <filesystem>

#include <sys/types.h>

namespace lirabox::test {

class Weston {
public:
    Weston();  // waits for its socket
    ~Weston();
    Weston(const Weston&) = delete;
    Weston& operator=(const Weston&) = delete;

    // WAYLAND_DISPLAY may name the socket by this full path.
    std::filesystem::path socket() const { return mTemp.path() / "wayland-test"; }
    // Makes the programs the test starts from now on native Wayland clients of it, without X.
    void useForPrograms() const;

private:
    TempFolder mTemp;
    pid_t mPid = 0;
};

}  // namespace lirabox::test
