// Hostile-user attacks on the engine and the settings files, each case in a
// process of its own so that a crash, a hang or a memory blow-up is counted
// instead of ending the run:
//
//   lirabox_attacks media COUNT   mutated recordings loaded and played
//   lirabox_attacks config COUNT  corrupt settings files read and written as a start and an exit do
//   lirabox_attacks kill COUNT    writes of the window place killed at random moments
//
// Prints the counts on one line; the exit status is 1 when any case crashed,
// hung, tore a file, left more than one temporary file or took more than
// 150 MiB.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "player/media/mpv/MpvEngine.h"
#include "support/AppPaths.h"
#include "support/RaisedError.h"
#include "support/clsIniFile.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr std::uint64_t kPeakLimit = 150 * kMiB;

std::mt19937 random32(20261208);

std::uint32_t below(std::uint32_t bound) { return bound == 0 ? 0 : random32() % bound; }

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::uint64_t peakResident() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
    }
    return 0;
}

// How one case ended.
struct Outcome {
    enum Kind { Exited, Crashed, Hung } kind = Exited;
    int status = 0;          // exit status
    std::uint64_t peak = 0;  // bytes, as the case reported it
};

// Runs `body` in a child process; its result is the exit status. The child
// reports its peak memory through a pipe. A child still running after
// `limit` is killed and counted as hung.
Outcome runCase(const std::function<int()>& body, std::chrono::seconds limit) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {Outcome::Crashed};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        // libmpv's and the sound libraries' complaints about the missing sound device.
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDERR_FILENO);
        const int status = body();
        const std::uint64_t peak = peakResident();
        [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &peak, sizeof peak);
        ::_exit(status);
    }
    ::close(pipeFds[1]);
    Outcome outcome;
    const auto deadline = Clock::now() + limit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            outcome.kind = Outcome::Hung;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (outcome.kind != Outcome::Hung) {
        if (WIFSIGNALED(status))
            outcome.kind = Outcome::Crashed;
        else
            outcome.status = WEXITSTATUS(status);
    }
    if (::read(pipeFds[0], &outcome.peak, sizeof outcome.peak) != sizeof outcome.peak) outcome.peak = 0;
    ::close(pipeFds[0]);
    return outcome;
}

struct Tally {
    std::map<std::string, int> counts;
    std::uint64_t peak = 0;
    bool failed = false;

    void add(const std::string& what, bool failure = false) {
        ++counts[what];
        failed = failed || failure;
    }
    void count(const Outcome& outcome) {
        if (outcome.kind == Outcome::Crashed) add("crashed", true);
        if (outcome.kind == Outcome::Hung) add("hung", true);
        peak = std::max(peak, outcome.peak);
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer's shadow memory and quarantine would count
        if (outcome.peak > kPeakLimit) add("over-150MiB", true);
#endif
    }
    int print(const std::string& attack) const {
        std::cout << attack;
        for (const auto& [what, n] : counts) std::cout << " " << what << "=" << n;
        std::cout << " peak-MiB=" << peak / kMiB << (failed ? " FAILED" : " ok") << std::endl;
        return failed ? 1 : 0;
    }
};

// ---- media -----------------------------------------------------------------

std::string putWord(std::string bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4 && at + static_cast<std::size_t>(i) < bytes.size(); ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string mutate(std::string bytes) {
    static const std::uint32_t kHuge[] = {0xFFFFFFF8, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 0x55555555};
    switch (below(5)) {
    case 0:  // flipped bytes near the start
        for (std::uint32_t n = 1 + below(16); n > 0; --n)
            bytes[below(std::min<std::size_t>(bytes.size(), 512))] ^= static_cast<char>(1 + below(255));
        return bytes;
    case 1:  // a size field claiming far too much
        return putWord(bytes, below(64) * 4, kHuge[below(5)]);
    case 2:  // cut short
        bytes.resize(below(static_cast<std::uint32_t>(bytes.size())));
        return bytes;
    case 3: {  // a chunk claiming gigabytes after the first 36 bytes
        const char* ids[] = {"LIST", "bext", "JUNK", "fact", "cue "};
        std::string chunk = putWord(std::string(ids[below(5)]) + "    ", 4, kHuge[below(5)]);
        if (chunk.rfind("LIST", 0) == 0) chunk += putWord("INFOINAM    ", 8, kHuge[below(5)]);
        bytes.insert(std::min<std::size_t>(36, bytes.size()), chunk);
        return bytes;
    }
    default:  // the header, then noise
        bytes.resize(std::min<std::size_t>(bytes.size(), 12 + below(200)));
        for (std::uint32_t n = below(4096); n > 0; --n) bytes += static_cast<char>(random32());
        return bytes;
    }
}

int loadAndPlay(const std::string& path) {
    try {
        lirabox::media::MpvEngine engine;
        engine.settings().autoStart(true);
        engine.URL(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        engine.controls().currentPosition(engine.currentMedia().duration() / 2);
        engine.controls().stop();
        return 0;
    } catch (const lirabox::RaisedError& error) {
        return 10 + static_cast<int>(error.number() - lirabox::kObjectErrorBase - lirabox::media::kErrEngineStart);
    }
}

int mediaAttack(int count) {
    lirabox::test::TempFolder folder;
    lirabox::test::writeSineWav(folder.file("tone.wav"), 2.0, 440.0, 8000, 1);
    const std::vector<fs::path> bases {folder.file("tone.wav"),
                                       lirabox::test::makeMp3(folder.file("tone.wav")),
                                       lirabox::test::makeWma(folder.file("tone.wav"))};
    Tally tally;
    for (int i = 0; i < count; ++i) {
        const fs::path& base = bases[static_cast<std::size_t>(i) % bases.size()];
        const fs::path file = folder.file("case" + std::to_string(i) + base.extension().string());
        writeBytes(file, mutate(readBytes(base)));
        const Outcome outcome = runCase([&] { return loadAndPlay(file.string()); }, std::chrono::seconds(45));
        tally.count(outcome);
        if (outcome.kind != Outcome::Exited) continue;
        if (outcome.status == 0)
            tally.add("played");
        else if (outcome.status == 11)
            tally.add("refused-cannot-open");
        else if (outcome.status == 12)
            tally.add("refused-bad-file");
        else if (outcome.status == 13)
            tally.add("refused-timeout", true);
        else
            tally.add("other-error-" + std::to_string(outcome.status), true);
        fs::remove(file);
    }
    return tally.print("media");
}

// ---- config ----------------------------------------------------------------

const std::string kGoodUser = "[Config]\r\nRewind=5\r\nForward=6\r\nAutorev=1\r\n";
const std::string kGoodPosition = "[FormPosition]\nMinimized=0\nMaximized=0\nTop=40\nLeft=50\n[Volume]\nvalue=3000\n";

std::string utf16(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += std::string {c, '\0'};
    return out;
}

// A damaged form of `good`, and whether the program may still write it.
std::pair<std::string, bool> corrupt(std::string good) {
    switch (below(8)) {
    case 0:
        for (char& c : good)
            if (below(10) == 0) c = static_cast<char>(random32());
        return {good, true};
    case 1:
        for (char& c : good)
            if (c == '\n') c = '\r';
        return {good, true};
    case 2: return {utf16(good), true};
    case 3: good.resize(below(static_cast<std::uint32_t>(good.size()))); return {good, true};
    case 4: return {good.insert(below(static_cast<std::uint32_t>(good.size())), std::string(1 + below(8), '\0')), true};
    case 5: return {std::string(1 << 20, 'x') + "\n" + good, true};
    case 6: return {"[Config\n=\n[]\n==\n[FormPosition]]\nLeft\n" + good + good, true};
    default: return {std::string(17 << 20, '['), false};  // above the size limit
    }
}

struct ConfigCase {
    fs::path folder;
    bool userWritable = true;
    bool positionWritable = true;
};

// What a start and an exit do with the settings files.
int startAndExit(const fs::path& folder) {
    lirabox::setProgramFolder(folder.string());
    try {
        lirabox::clsIniFile config;
        config.setFileName("config.ini");
        for (int row = 0; row < 8; ++row) {
            for (const char* key : {"ID", "KeyCode", "KeyDestroy", "ShiftStatus"}) {
                config.ReadString("ID0" + std::to_string(row), key, "0");
            }
        }
        lirabox::clsIniFile user;
        user.setFileName("UserCfg.ini");
        for (const char* key : {"Rewind", "Forward", "Autorev"}) user.ReadString("Config", key, "2");
        user.WriteString("Config", "Rewind", "7");
        lirabox::clsIniFile position;
        position.setFileName("position.ini");
        for (const char* key : {"Minimized", "Maximized", "Top", "Left"}) position.ReadString("FormPosition", key, "0");
        position.WriteStrings({{"FormPosition", "Minimized", "0"},
                               {"FormPosition", "Maximized", "0"},
                               {"FormPosition", "Left", "321"},
                               {"FormPosition", "Top", "123"}});
        position.WriteString("Volume", "value", "4000");
    } catch (const lirabox::RaisedError&) {
        return 2;
    }
    return 0;
}

int configAttack(int count) {
    Tally tally;
    for (int i = 0; i < count; ++i) {
        lirabox::test::TempFolder folder;
        const auto [user, userWritable] = corrupt(kGoodUser);
        const auto [position, positionWritable] = corrupt(kGoodPosition);
        writeBytes(folder.file("UserCfg.ini"), user);
        writeBytes(folder.file("position.ini"), position);
        writeBytes(folder.file("config.ini"),
                   corrupt("[ID00]\nID=0\nKeyCode=114\nKeyDestroy=0\nShiftStatus=0\n").first);
        const Outcome outcome = runCase([&] { return startAndExit(folder.path()); }, std::chrono::seconds(20));
        tally.count(outcome);
        if (outcome.kind != Outcome::Exited) continue;
        tally.add("files");
        lirabox::setProgramFolder(folder.path().string());
        lirabox::clsIniFile check;
        check.setNothingWrite(false);
        check.setFileName("UserCfg.ini");
        const bool userKept = !userWritable || check.ReadString("Config", "Rewind", "?") == "7";
        check.setFileName("position.ini");
        const bool placeKept = !positionWritable || (check.ReadString("FormPosition", "Left", "?") == "321" &&
                                                     check.ReadString("FormPosition", "Top", "?") == "123");
        if (!userKept || !placeKept) tally.add("value-lost", true);
        if (!positionWritable && readBytes(folder.file("position.ini")) != position)
            tally.add("refused-file-changed", true);
    }
    return tally.print("config");
}

// ---- kill ------------------------------------------------------------------

int leftovers(const fs::path& folder) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(folder)) n += entry.path().extension() == ".tmp";
    return n;
}

int killAttack(int count) {
    lirabox::test::TempFolder folder;
    lirabox::setProgramFolder(folder.path().string());
    writeBytes(folder.file("position.ini"), "[FormPosition]\nMinimized=0\nMaximized=0\nTop=0\nLeft=0\n");
    Tally tally;
    int mostLeftovers = 0;
    for (int i = 0; i < count; ++i) {
        const pid_t child = ::fork();
        if (child == 0) {
            lirabox::clsIniFile position;
            position.setFileName("position.ini");
            for (int place = 1;; ++place) {
                const std::string value = std::to_string(place);
                position.WriteStrings({{"FormPosition", "Minimized", "0"},
                                       {"FormPosition", "Maximized", "0"},
                                       {"FormPosition", "Left", value},
                                       {"FormPosition", "Top", value}});
                position.WriteString("Volume", "value", value);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(below(40000)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        tally.add("kills");
        lirabox::clsIniFile check;
        check.setNothingWrite(false);
        check.setFileName("position.ini");
        const std::string left = check.ReadString("FormPosition", "Left", "?");
        const std::string top = check.ReadString("FormPosition", "Top", "?");
        if (left == "?" || left != top) tally.add("torn", true);
        mostLeftovers = std::max(mostLeftovers, leftovers(folder.path()));
    }
    lirabox::clsIniFile position;
    position.setFileName("position.ini");
    position.WriteString("Volume", "value", "2500");
    const int afterWrite = leftovers(folder.path());
    tally.counts["most-temporary-files"] = mostLeftovers;
    tally.counts["temporary-files-after-next-write"] = afterWrite;
    tally.failed = tally.failed || mostLeftovers > 1 || afterWrite != 0;
    return tally.print("kill");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: lirabox_attacks media|config|kill COUNT\n";
        return 2;
    }
    const std::string attack = argv[1];
    const int count = std::stoi(argv[2]);
    if (attack == "media") return mediaAttack(count);
    if (attack == "config") return configAttack(count);
    if (attack == "kill") return killAttack(count);
    std::cerr << "unknown attack " << attack << "\n";
    return 2;
}
