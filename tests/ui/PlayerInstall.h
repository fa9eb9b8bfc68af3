#pragma once
// The built program copied into a folder of its own, as a user would install
// it, with a recording Timepost beside it, and run there as a real process.
// Every install has its own program folder (the INI files), runtime folder,
// configuration folder and Timepost log, so tests share nothing.

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "TempFolder.h"

namespace lirabox::test {

class PlayerInstall {
public:
    PlayerInstall();
    ~PlayerInstall();  // ends the processes still running
    PlayerInstall(const PlayerInstall&) = delete;
    PlayerInstall& operator=(const PlayerInstall&) = delete;

    const std::filesystem::path& folder() const { return mFolder; }
    std::filesystem::path configFolder() const { return mTemp.file("config"); }
    std::filesystem::path scratch(const std::string& name) const { return mTemp.file(name); }

    // Starts lirabox with these arguments; returns its process id.
    pid_t start(const std::vector<std::string>& arguments = {});
    // Waits for the process to end; its exit status, or nothing when it did not end in time.
    std::optional<int> waitForExit(pid_t pid, int seconds = 20);
    bool running(pid_t pid);

    // One SetTime call: when (CLOCK_MONOTONIC nanoseconds) and the position.
    struct PublishedCall {
        long long stamp;
        double seconds;
    };
    // The SetTime calls so far, in order.
    std::vector<PublishedCall> publishedCalls() const;
    // Their positions.
    std::vector<double> publishedPositions() const;

private:
    TempFolder mTemp;
    std::filesystem::path mFolder;
    std::vector<pid_t> mProcesses;
};

}  // namespace lirabox::test
