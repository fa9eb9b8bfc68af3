#pragma once
// Tests under Wine drive the Linux side (xdotool, chattr): Wine starts a
// Linux program like any other.

#include <string>

namespace lirabox::test {

// Runs the command line (an absolute Linux path and its arguments) and waits
// up to 10 s for it; false when it could not be started.
bool runLinuxProgram(const std::string& commandLine);

}  // namespace lirabox::test
