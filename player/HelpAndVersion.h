#pragma once
// The help menu's two answers: which document "目次" opens, and the text of
// the version message.

#include <optional>
#include <string>

namespace lirabox {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version the program was built as (the project's version in CMake).
ProgramVersion programVersion();

// "Lirabox for Scribemark, version" followed directly by major.minor.revision.
std::string VersionText(const ProgramVersion& version);

// The help file when it exists; otherwise the HTML guide of the same name
// beside it ("Lirabox_help.html"); otherwise that guide where an install puts
// it, found from the executable's folder (share/doc/lirabox/ beside bin/);
// nothing when none exists.
std::optional<std::string> helpDocument(const std::string& helpFile, const std::string& executableFolder);

}  // namespace lirabox
