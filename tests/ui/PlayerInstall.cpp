#include "PlayerInstall.h"

#include <cerrno>
#include <fcntl.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <map>
#include <spawn.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

#include "support/AppPaths.h"

extern char** environ;

namespace lirabox::test {
namespace {

namespace fs = std::filesystem;

// The test program is built into the same folder as lirabox and its libraries.
fs::path buildBin() { return fs::path(lirabox::executablePath()).parent_path(); }

void copyFrom(const fs::path& from, const fs::path& to) {
    if (!fs::exists(from)) throw std::runtime_error("not built: " + from.string());
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

}  // namespace

PlayerInstall::PlayerInstall() : mFolder(mTemp.file("install")) {
    fs::create_directories(mFolder);
    fs::create_directories(configFolder());
    fs::create_directories(mTemp.file("runtime"));
    fs::permissions(mTemp.file("runtime"), fs::perms::owner_all);
    copyFrom(buildBin() / "lirabox", mFolder / "lirabox");
    copyFrom(buildBin() / "libtimepost-recorder.so", mFolder / "libtimepost.so");
    if (fs::exists(buildBin() / "libkeytap.so")) copyFrom(buildBin() / "libkeytap.so", mFolder / "libkeytap.so");
}

PlayerInstall::~PlayerInstall() {
    for (const pid_t pid : mProcesses) {
        if (::kill(pid, SIGKILL) == 0) ::waitpid(pid, nullptr, 0);
    }
}

pid_t PlayerInstall::start(const std::vector<std::string>& arguments) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    variables["XDG_RUNTIME_DIR"] = mTemp.fileText("runtime");
    variables["XDG_CONFIG_HOME"] = configFolder().string();
    variables["LIRABOX_TIMEPOST_LOG"] = mTemp.fileText("timepost.log");
    variables.erase("QT_QPA_PLATFORM");
    std::vector<std::string> environment;
    for (const auto& [name, value] : variables) environment.push_back(name + "=" + value);

    const std::string program = (mFolder / "lirabox").string();
    std::vector<char*> argv {const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = mTemp.fileText("lirabox.log");
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + program);
    mProcesses.push_back(pid);
    return pid;
}

std::optional<int> PlayerInstall::waitForExit(pid_t pid, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            std::erase(mProcesses, pid);
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

bool PlayerInstall::running(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == 0) return true;
    std::erase(mProcesses, pid);
    return false;
}

std::vector<PlayerInstall::PublishedCall> PlayerInstall::publishedCalls() const {
    std::vector<PublishedCall> calls;
    std::ifstream log(mTemp.file("timepost.log"));
    PublishedCall call {};
    while (log >> call.stamp >> call.seconds) calls.push_back(call);
    return calls;
}

std::vector<double> PlayerInstall::publishedPositions() const {
    std::vector<double> positions;
    for (const PublishedCall& call : publishedCalls()) positions.push_back(call.seconds);
    return positions;
}

}  // namespace lirabox::test
