#include "InstalledPlayer.h"

#include "Polling.h"
#include "support/AppPaths.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace lirabox::test {
namespace {

namespace fs = std::filesystem;

// The test programs are built into the same folder as lirabox and its libraries.
fs::path buildBin() { return fs::path(executablePath()).parent_path(); }

void copyFrom(const fs::path& from, const fs::path& to) {
    if (!fs::exists(from)) throw std::runtime_error("not built: " + from.string());
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

std::string textOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

InstalledPlayer::InstalledPlayer(bool withKeytap) : mFolder(mTemp.file("install")) {
    fs::create_directories(mFolder);
    makeUserFolders();
    copyFrom(buildBin() / "lirabox", program());
    // The program's libraries are large and the same in every install: linked, not copied.
    for (const char* library : {"liblirabox.so", "liblirabox-start.so"}) {
        fs::create_symlink(buildBin() / library, mFolder / library);
    }
    copyFrom(buildBin() / "libtimepost-recorder.so", mFolder / "libtimepost.so");
    if (withKeytap) copyFrom(buildBin() / "libkeytap.so", mFolder / "libkeytap.so");
}

InstalledPlayer::InstalledPlayer(const fs::path& installedProgram) : mFolder(installedProgram.parent_path()) {
    makeUserFolders();
}

void InstalledPlayer::makeUserFolders() const {
    fs::create_directories(configFolder());
    fs::create_directory(runtimeFolder());
    fs::permissions(runtimeFolder(), fs::perms::owner_all);
}

InstalledPlayer::~InstalledPlayer() {
    for (const pid_t pid : mProcesses) {
        if (::kill(pid, SIGKILL) == 0) ::waitpid(pid, nullptr, 0);
    }
}

void InstalledPlayer::writeFile(const std::string& name, const std::string& text) const {
    std::ofstream(mFolder / name, std::ios::binary) << text;
}

std::string InstalledPlayer::readFile(const std::string& name) const { return textOf(mFolder / name); }

pid_t InstalledPlayer::start(const std::vector<std::string>& arguments) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    variables["XDG_RUNTIME_DIR"] = runtimeFolder().string();
    variables["XDG_CONFIG_HOME"] = configFolder().string();
    variables["LIRABOX_TIMEPOST_LOG"] = mTemp.fileText("timepost.log");
    // The texts the tests compare are the Japanese ones, whatever the desktop's language.
    variables["LANGUAGE"] = mLanguage;
    // The tests' own platform (offscreen) is not the program's; a test that
    // wants another platform for the program names it in LIRABOX_TEST_PROGRAM_PLATFORM.
    variables.erase("QT_QPA_PLATFORM");
    if (const auto wanted = variables.find("LIRABOX_TEST_PROGRAM_PLATFORM"); wanted != variables.end()) {
        variables["QT_QPA_PLATFORM"] = wanted->second;
    }
    variables.erase("LD_LIBRARY_PATH");
    std::vector<std::string> environment;
    for (const auto& [name, value] : variables) environment.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::vector<std::string> words {program().string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = mTemp.fileText("output.log");
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, words.front().c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + words.front());
    mProcesses.push_back(pid);
    return pid;
}

std::optional<int> InstalledPlayer::waitForExit(pid_t pid, int seconds) {
    std::optional<int> exitStatus;
    waitUntil(
        [&] {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) != pid) return false;
            std::erase(mProcesses, pid);
            exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        },
        std::chrono::seconds(seconds));
    return exitStatus;
}

bool InstalledPlayer::running(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == 0) return true;
    std::erase(mProcesses, pid);
    return false;
}

std::string InstalledPlayer::output() const { return textOf(mTemp.file("output.log")); }

std::vector<InstalledPlayer::PublishedCall> InstalledPlayer::publishedCalls() const {
    std::vector<PublishedCall> calls;
    std::ifstream log(mTemp.file("timepost.log"));
    PublishedCall call {};
    while (log >> call.stamp >> call.seconds) calls.push_back(call);
    return calls;
}

std::vector<double> InstalledPlayer::publishedPositions() const {
    std::vector<double> positions;
    for (const PublishedCall& call : publishedCalls()) positions.push_back(call.seconds);
    return positions;
}

std::optional<double> InstalledPlayer::position() const {
    const std::vector<PublishedCall> calls = publishedCalls();
    if (calls.empty()) return std::nullopt;
    return calls.back().seconds;
}

}  // namespace lirabox::test
