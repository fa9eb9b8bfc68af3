#pragma once
// The tests' desktop shortcut portal (tests/common/portal/backend.py) as a
// process of the test, on the private bus tests/with-portal.sh gives it, where
// the real xdg-desktop-portal frontend passes the program's calls to it. The
// frontend is started by the bus on the first call.

#include <string>

#include <sys/types.h>

namespace lirabox::test {

class TestPortal {
public:
    // Starts the backend and waits until it owns its bus name.
    TestPortal();
    ~TestPortal();  // ends it
    TestPortal(const TestPortal&) = delete;
    TestPortal& operator=(const TestPortal&) = delete;

    bool running() const;
    // The shortcut goes down or up on the desktop.
    void press(const std::string& id) const;
    void release(const std::string& id) const;
    // The last bound shortcuts, one "id|description|preferred trigger" line each.
    std::string bound() const;
    unsigned binds() const;
    // What the RemoteDesktop keyboard was sent: "+" pressed or "-" released
    // and the keysym in hex, one a line; and how many keyboard sessions were asked for.
    std::string keysyms() const;
    unsigned keyboardSessions() const;

private:
    std::string call(const std::string& method, const std::string& arguments = "") const;
    unsigned number(const std::string& method) const;

    pid_t mPid = 0;
};

}  // namespace lirabox::test
