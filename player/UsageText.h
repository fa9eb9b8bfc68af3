#pragma once
// What the program prints for --help: the usage, then the options; only the
// Linux program has --verbose.

#include "support/UiText.h"

namespace lirabox::usage {

inline constexpr UiText kUsage = LIRABOX_TEXT("main",
                                              "Usage: lirabox [RECORDING[/t=SECONDS]]\n"
                                              "Plays RECORDING (WAV, MP3 or WMA), from SECONDS when given.\n"
                                              "\n");
inline constexpr UiText kVerboseOption =
    LIRABOX_TEXT("main",
                 "  --verbose   log every step skipped after a failure, every sound engine\n"
                 "              error, every failed settings write and why no foot pedal is\n"
                 "              used (also on with QT_LOGGING_RULES=\"lirabox.info=true\")\n");
inline constexpr UiText kHelpAndVersionOptions = LIRABOX_TEXT("main",
                                                              "  -h, --help  show this help and exit\n"
                                                              "  --version   show the version and exit\n");
inline constexpr UiText kCommandOption =
    LIRABOX_TEXT("main",
                 "  --command NAME [ARGUMENT]\n"
                 "              hand a command to the Lirabox that runs, and exit: play-pause,\n"
                 "              stop, faster, slower, forward, rewind, repeat-start,\n"
                 "              repeat-end, timestamp, goto-selection, open FILE,\n"
                 "              goto SECONDS\n");

}  // namespace lirabox::usage
