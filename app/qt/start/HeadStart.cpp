#include "HeadStart.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "player/CommandLine.h"
#include "player/RecordingHistory.h"
#include "player/SingleInstance.h"
#include "player/Timepost.h"
#include "player/VolumeSlider.h"
#include "player/media/mpv/SoundLibraryMessages.h"
#include "support/ConfigFiles.h"
#include "support/RaisedError.h"
#include "support/Trace.h"
#include "support/VbConvert.h"
#include "support/clsIniFile.h"

namespace lirabox {
namespace {

namespace cfg = config;

// How long the start waits for the file to be opened, and then loaded, before
// it leaves the rest of the load to the window; and then, at most, for the
// sound to run before Qt is loaded.
constexpr std::chrono::milliseconds kOpenWait {50};
constexpr std::chrono::milliseconds kLoadWait {250};
constexpr std::chrono::milliseconds kSoundWait {100};

// Under --verbose, what is traced before the program routes traces to its
// log goes to standard error in the log's own form.
class ErrorStreamSink final : public TraceSink {
public:
    void trace(std::string_view line) override {
        std::fprintf(stderr, "lirabox: %.*s\n", static_cast<int>(line.size()), line.data());
    }
};

std::unique_ptr<media::MpvEngine>& startedEngine() {
    static std::unique_ptr<media::MpvEngine> engine;
    return engine;
}

std::string str(std::string_view text) { return std::string(text); }

// What the program's start reads for the first sound, with its defaults;
// read without writing anything back (the program's own start does that).
struct SoundSettings {
    bool resume = false;
    bool levelled = false;
    std::int32_t volume = engineVolumeOf(cfg::kDefaultVolumeValue);
};

SoundSettings readSoundSettings() {
    SoundSettings read;
    try {
        clsIniFile user;
        user.setFileName(str(cfg::kUserFile));
        read.resume = ReadStringKeepingFile(user, str(cfg::kUserSection), str(cfg::kKeyResume), "0") == "1";
        read.levelled = ReadStringKeepingFile(user, str(cfg::kUserSection), str(cfg::kKeyEvenLoudness), "0") == "1";
        clsIniFile position;
        position.setFileName(str(cfg::kPositionFile));
        const std::int32_t slider = toInt32(ReadStringKeepingFile(
            position, str(cfg::kVolumeSection), str(cfg::kKeyVolumeValue), std::to_string(cfg::kDefaultVolumeValue)));
        read.volume = engineVolumeOf(slider);
    } catch (const RaisedError&) {
        // What could not be read plays as the program's defaults; its own start corrects it.
    }
    return read;
}

double resumePosition(const std::string& path, double duration) {
    try {
        return RecordingHistory(RecordingHistory::programFile())
            .resumePosition(RecordingHistory::listedName(path), duration);
    } catch (const RaisedError&) {
        return 0;
    }
}

std::unique_ptr<media::MpvEngine> startPlaying(const CommandLineFile& file) {
    const SoundSettings settings = readSoundSettings();
    auto engine = std::make_unique<media::MpvEngine>();
    engine->settings().volume(settings.volume);
    engine->settings().evenLoudness(settings.levelled);
    engine->prepare(file.path, kOpenWait);
    if (!engine->awaitPrepared(kLoadWait)) return engine;
    engine->settings().autoStart(false);
    engine->URL(file.path);
    const double from = file.startGiven   ? file.start
                        : settings.resume ? resumePosition(file.path, engine->currentMedia().duration())
                                          : 0.0;
    if (from != 0.0) engine->controls().currentPosition(from);
    engine->controls().play();
    TimepostLibrary().SetTime(from);
    // Loading Qt beside libmpv's first steps at the output would delay the sound.
    engine->awaitSound(kSoundWait);
    engine->keepPlayingForTakeover(from);
    return engine;
}

}  // namespace

ProgramArguments programArguments(int argc, char** argv) {
    const bool verbose = argc > 1 && std::string_view(argv[1]) == "--verbose";
    return {verbose, verbose ? argumentText(argc - 1, argv + 1) : argumentText(argc, argv)};
}

std::unique_ptr<media::MpvEngine> takeStartedEngine() { return std::move(startedEngine()); }

}  // namespace lirabox

void lirabox_start_playing(int argc, char** argv) {
    using namespace lirabox;
    const ProgramArguments arguments = programArguments(argc, argv);
    static ErrorStreamSink errorStream;
    if (arguments.verbose) setTraceSink(&errorStream);
    media::routeSoundLibraryMessages(arguments.verbose);
    if (arguments.text == "--help" || arguments.text == "-h" || arguments.text == "--version") return;
    try {
        std::error_code noStartFolder;
        const std::optional<CommandLineFile> file =
            parseCommandLine(arguments.text, std::filesystem::current_path(noStartFolder));
        // The running copy is handed the recording; the program takes the lock again.
        if (!file || SingleInstance().PrevInstance()) return;
        startedEngine() = startPlaying(*file);
    } catch (...) {
        // The program starts an engine of its own and reports what fails.
    }
}
