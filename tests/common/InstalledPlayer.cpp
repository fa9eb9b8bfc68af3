#include "InstalledPlayer.h"

#include "AppPaths.h"

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace lirabox::test {
namespace {

namespace fs = std::filesystem;

// The test programs are built into the same folder as lirabox and its libraries.
fs::path buildBin() { return fs::path(executablePath()).parent_path(); }

std::string textOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

InstalledPlayer::InstalledPlayer(bool withKeytap) : mFolder(mTemp.file("install")) {
    fs::create_directories(mFolder);
    fs::create_directories(mTemp.file("config"));
    fs::create_directory(mTemp.file("runtime"));
    fs::permissions(mTemp.file("runtime"), fs::perms::owner_all);
    std::vector<std::string> files {"lirabox", "libtimepost.so"};
    if (withKeytap) files.push_back("libkeytap.so");
    for (const std::string& file : files) fs::copy_file(buildBin() / file, mFolder / file);
}

InstalledPlayer::~InstalledPlayer() {
    if (mPid > 0 && ::kill(mPid, SIGTERM) == 0) ::waitpid(mPid, nullptr, 0);
}

void InstalledPlayer::writeFile(const std::string& name, const std::string& text) const {
    std::ofstream(mFolder / name, std::ios::binary) << text;
}

std::string InstalledPlayer::readFile(const std::string& name) const { return textOf(mFolder / name); }

void InstalledPlayer::start(const std::vector<std::string>& arguments) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    variables["XDG_RUNTIME_DIR"] = mTemp.fileText("runtime");
    variables["XDG_CONFIG_HOME"] = mTemp.fileText("config");
    variables.erase("QT_QPA_PLATFORM");
    variables.erase("LD_LIBRARY_PATH");
    std::vector<std::string> environment;
    for (const auto& [name, value] : variables) environment.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    const std::string program = (mFolder / "lirabox").string();
    std::vector<std::string> words {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = mTemp.fileText("output.log");
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int error = ::posix_spawn(&mPid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + program);
}

bool InstalledPlayer::waitForWindow() const {
    const std::string command = "xdotool search --onlyvisible --pid " + std::to_string(mPid) + " >/dev/null 2>&1";
    return waitUntil([&] { return std::system(command.c_str()) == 0; });
}

std::optional<double> InstalledPlayer::position() const {
    std::istringstream line(textOf(mTemp.file("runtime") / "lirabox" / "position"));
    double seconds = 0;
    if (line >> seconds) return seconds;
    return std::nullopt;
}

bool InstalledPlayer::running() {
    int status = 0;
    return mPid > 0 && ::waitpid(mPid, &status, WNOHANG) == 0;
}

std::string InstalledPlayer::output() const { return textOf(mTemp.file("output.log")); }

}  // namespace lirabox::test
