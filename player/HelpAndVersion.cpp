#include "HelpAndVersion.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "support/UiText.h"

namespace lirabox {
namespace {

constexpr UiText kVersionText = LIRABOX_TEXT("frmMain", "Lirabox for Scribemark, version");
// The user guide's file name is the catalogue's, so each language names its own.
constexpr UiText kGuideName = LIRABOX_TEXT("frmMain", "Lirabox_help.html");

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

ProgramVersion programVersion() { return {LIRABOX_VERSION_MAJOR, LIRABOX_VERSION_MINOR, LIRABOX_VERSION_REVISION}; }

std::string VersionText(const ProgramVersion& version) {
    return shown(kVersionText) + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.revision);
}

std::optional<std::string> helpDocument(const std::string& helpFile, const std::string& executableFolder) {
    if (helpFile.empty()) return std::nullopt;
    if (isFile(helpFile)) return helpFile;
    std::vector<std::filesystem::path> folders {std::filesystem::path(helpFile).parent_path()};
    if (!executableFolder.empty()) {
        folders.emplace_back(executableFolder);
        folders.push_back((std::filesystem::path(executableFolder) / LIRABOX_BIN_TO_DOC).lexically_normal());
    }
    for (const std::string& name : {shown(kGuideName), std::string(kGuideName.source)}) {
        for (const std::filesystem::path& folder : folders) {
            if (isFile(folder / name)) return (folder / name).string();
        }
    }
    return std::nullopt;
}

}  // namespace lirabox
