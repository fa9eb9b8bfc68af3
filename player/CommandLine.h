#pragma once
// The program's command line: an optional recording path, optionally followed
// by "/t=" and a start second.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace lirabox {

// The argument text: the arguments after the program name joined by single
// spaces, exactly as received (nothing trimmed, no quotes removed).
std::string argumentText(int argc, const char* const* argv);

struct CommandLineFile {
    std::string path;
    std::int32_t start = 0;   // seconds
    bool startGiven = false;  // "/t=" was given
};

// The file to open and play, or nothing.
// - empty text: nothing;
// - text naming an existing file: that file from 0 s;
// - text whose part after its last "/" is exactly "t" or contains "=": that part
//   is the option, split at "=" into Q0, Q1, ...; when Q0 is exactly "t" and Q1
//   is a number, the text before that "/" is the path and Q1 rounded (halves to
//   even) the start second; otherwise nothing;
// - any other text: that path from 0 s.
// startFolder is the folder the program was started in: a relative path is
// looked for there first, and one that names a file there comes back as a
// full path (the program changes its working folder before it opens the file).
// A path that names no file but does once its trailing blanks and dots are
// dropped ("talk.mp3 /t=90") comes back without them.
std::optional<CommandLineFile> parseCommandLine(const std::string& text, const std::filesystem::path& startFolder = {});

}  // namespace lirabox
