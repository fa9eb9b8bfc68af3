#include "TestPortal.h"

#include "Desktop.h"
#include "Polling.h"

#include <csignal>
#include <string_view>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace lirabox::test {
namespace {

// gdbus prints a string reply as "('text',)", with \n for line ends.
std::string replyText(std::string reply) {
    const auto open = reply.find('\'');
    const auto close = reply.rfind('\'');
    if (open == std::string::npos || close <= open) return {};
    std::string text;
    const std::string_view inner(reply.data() + open + 1, close - open - 1);
    for (std::size_t at = 0; at < inner.size(); ++at) {
        if (inner[at] == '\\' && at + 1 < inner.size() && inner[at + 1] == 'n') {
            text += '\n';
            ++at;
        } else {
            text += inner[at];
        }
    }
    return text;
}

}  // namespace

TestPortal::TestPortal() {
    const char* argv[] = {"/usr/bin/python3", LIRABOX_TEST_PORTAL_BACKEND, nullptr};
    if (::posix_spawn(&mPid, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ) != 0) mPid = 0;
    waitUntil([&] { return running(); });
}

TestPortal::~TestPortal() {
    if (mPid <= 0) return;
    ::kill(mPid, SIGTERM);
    ::waitpid(mPid, nullptr, 0);
}

bool TestPortal::running() const { return call("Binds").find("uint32") != std::string::npos; }

void TestPortal::press(const std::string& id) const { call("Press", "'" + id + "'"); }

void TestPortal::release(const std::string& id) const { call("Release", "'" + id + "'"); }

std::string TestPortal::bound() const { return replyText(call("Bound")); }

unsigned TestPortal::binds() const { return number("Binds"); }

std::string TestPortal::keysyms() const { return replyText(call("Keysyms")); }

unsigned TestPortal::keyboardSessions() const { return number("RemoteDesktopSessions"); }

unsigned TestPortal::number(const std::string& method) const {
    const std::string reply = call(method);
    const auto at = reply.find("uint32 ");
    return at == std::string::npos ? 0 : static_cast<unsigned>(std::stoul(reply.substr(at + 7)));
}

std::string TestPortal::call(const std::string& method, const std::string& arguments) const {
    return commandOutput(
        "timeout 10 gdbus call --session --dest io.github.lirabox.TestPortal "
        "--object-path /io/github/lirabox/TestPortal --method io.github.lirabox.TestPortal." +
        method + " " + arguments);
}

}  // namespace lirabox::test
