#pragma once
// The built program copied into a folder of its own with its libraries, as a
// user would install it, and run there as real processes on the test's X
// display. The program folder holds the INI files; the runtime and
// configuration folders (the latter holds "Lirabox.ini") are the install's
// own, so installs share nothing. Beside the program stands a Timepost that
// records every position it is handed.

#include "TempFolder.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace lirabox::test {

class InstalledPlayer {
public:
    // lirabox with liblirabox.so, the recording libtimepost.so and, unless
    // told otherwise, libkeytap.so.
    explicit InstalledPlayer(bool withKeytap = true);
    // The program where an install put it (cmake --install); nothing is copied.
    explicit InstalledPlayer(const std::filesystem::path& installedProgram);
    ~InstalledPlayer();  // ends the processes still running
    InstalledPlayer(const InstalledPlayer&) = delete;
    InstalledPlayer& operator=(const InstalledPlayer&) = delete;

    // The program folder, and the program in it.
    const std::filesystem::path& folder() const { return mFolder; }
    std::filesystem::path program() const { return mFolder / "lirabox"; }
    // XDG_CONFIG_HOME and XDG_RUNTIME_DIR of the program.
    std::filesystem::path configFolder() const { return mTemp.file("config"); }
    std::filesystem::path runtimeFolder() const { return mTemp.file("runtime"); }
    // A path outside the install, for recordings.
    std::filesystem::path scratch(const std::string& name) const { return mTemp.file(name); }

    // A file in the program folder.
    void writeFile(const std::string& name, const std::string& text) const;
    std::string readFile(const std::string& name) const;

    // The language the programs started from now on show (LANGUAGE); Japanese
    // unless told otherwise.
    void setLanguage(const std::string& language) { mLanguage = language; }

    // Starts the program with these arguments, its output going to a log;
    // returns its process id.
    pid_t start(const std::vector<std::string>& arguments = {});
    // Waits for the process to end; its exit status, or nothing when it did not end in time.
    std::optional<int> waitForExit(pid_t pid, int seconds = 20);
    bool running(pid_t pid);
    // Everything the programs wrote to stdout and stderr so far.
    std::string output() const;

    // One SetTime call: when (CLOCK_MONOTONIC nanoseconds) and the position.
    struct PublishedCall {
        long long stamp;
        double seconds;
    };
    // The SetTime calls so far, in order.
    std::vector<PublishedCall> publishedCalls() const;
    // Their positions.
    std::vector<double> publishedPositions() const;
    // The position last handed to Timepost; nothing before the first.
    std::optional<double> position() const;

private:
    void makeUserFolders() const;

    TempFolder mTemp;
    std::filesystem::path mFolder;
    std::string mLanguage = "ja";
    std::vector<pid_t> mProcesses;
};

}  // namespace lirabox::test
