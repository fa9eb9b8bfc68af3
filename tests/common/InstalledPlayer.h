#pragma once
// The built program copied into a folder of its own with its libraries, as a
// user would install it, and run there as a real process on the test's X
// display. The program folder holds the INI files; the runtime and
// configuration folders are the install's own, so installs share nothing.

#include "TempFolder.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace lirabox::test {

// Polls until the condition holds or the time is up; returns the condition.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(30));

class InstalledPlayer {
public:
    // lirabox, the reference libtimepost.so and, unless told otherwise, libkeytap.so.
    explicit InstalledPlayer(bool withKeytap = true);
    ~InstalledPlayer();  // ends the program when it still runs
    InstalledPlayer(const InstalledPlayer&) = delete;
    InstalledPlayer& operator=(const InstalledPlayer&) = delete;

    // A file in the program folder.
    void writeFile(const std::string& name, const std::string& text) const;
    std::string readFile(const std::string& name) const;
    // A path outside the install, for recordings.
    std::filesystem::path scratch(const std::string& name) const { return mTemp.file(name); }

    // Starts the program with these arguments, its output going to a log.
    void start(const std::vector<std::string>& arguments = {});
    // Waits until the program shows a window.
    bool waitForWindow() const;
    // The position last handed to Timepost; nothing before the first.
    std::optional<double> position() const;
    bool running();
    // Everything the program wrote to stdout and stderr so far.
    std::string output() const;

private:
    TempFolder mTemp;
    std::filesystem::path mFolder;
    pid_t mPid = 0;
};

}  // namespace lirabox::test
