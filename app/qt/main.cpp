// lirabox: hands `--command NAME [ARGUMENT]` to the running copy itself and
// loads the player's program (Program.h) for everything else. Links neither Qt
// nor libmpv, whose loading alone takes longer than a command may. Before the
// program, and so before Qt, the start's library (app/qt/start/HeadStart.h)
// begins playing the recording.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/qt/Program.h"
#include "app/qt/start/HeadStart.h"
#include "player/dbus/RemoteSender.h"
#include "support/LibraryLoader.h"
#include "support/Translations.h"
#include "support/UiText.h"

namespace {

constexpr const char* kProgramLibrary = "liblirabox.so";
constexpr const char* kProgramEntry = "lirabox_program_main";
constexpr const char* kStartLibrary = "liblirabox-start.so";
constexpr const char* kStartEntry = "lirabox_start_playing";

// The desktop's languages, most preferred first, read as Qt reads them, so the
// sender speaks the language the running copy's window shows.
std::vector<std::string> preferredLanguages() {
    std::vector<std::string> preferred;
    if (const char* list = std::getenv("LANGUAGE"); list != nullptr && *list != '\0') {
        const std::string_view rest(list);
        for (std::size_t start = 0; start <= rest.size();) {
            const std::size_t end = std::min(rest.find(':', start), rest.size());
            if (end > start) preferred.emplace_back(rest.substr(start, end - start));
            start = end + 1;
        }
        return preferred;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') return {value};
    }
    return preferred;
}

int sendCommand(int argc, char** argv) {
    const std::string language = lirabox::textLanguage(preferredLanguages());
    lirabox::useCatalogue([language](const lirabox::UiText& text) {
        return std::string(lirabox::translate(text.context, text.source, language));
    });
    return lirabox::dbus::sendRemoteCommand(std::vector<std::string>(argv + 2, argv + argc));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "--command") return sendCommand(argc, argv);
    // Without the start's library the program's library does not load either, and says so.
    const auto start = lirabox::loadFirstLibrary(lirabox::libraryCandidates(kStartLibrary), [](void* handle) {
        return lirabox::librarySymbol(handle, kStartEntry) != nullptr ? "" : std::string("no ") + kStartEntry;
    });
    if (start.handle != nullptr) {
        lirabox::libraryFunction<decltype(&lirabox_start_playing)>(start.handle, kStartEntry)(argc, argv);
    }
    const auto loaded = lirabox::loadFirstLibrary(lirabox::libraryCandidates(kProgramLibrary), [](void* handle) {
        return lirabox::librarySymbol(handle, kProgramEntry) != nullptr ? "" : std::string("no ") + kProgramEntry;
    });
    if (loaded.handle == nullptr) {
        std::fprintf(stderr, "lirabox: %s\n", loaded.reasons.c_str());
        return 1;
    }
    const auto run = lirabox::libraryFunction<decltype(&lirabox_program_main)>(loaded.handle, kProgramEntry);
    return run(argc, argv);
}
