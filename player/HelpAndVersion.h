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

// The help file when it exists; otherwise the user guide in the interface's
// language (Lirabox_help.html in Japanese, Lirabox_help_en.html in English),
// or else the Japanese one, looked for beside the help file, beside the
// executable and where an install puts it (share/doc/lirabox/ beside bin/);
// nothing when none exists.
std::optional<std::string> helpDocument(const std::string& helpFile, const std::string& executableFolder);

}  // namespace lirabox
