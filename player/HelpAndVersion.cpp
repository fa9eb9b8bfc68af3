#include "HelpAndVersion.h"

#include <filesystem>
#include <system_error>

#include "support/UiText.h"

namespace lirabox {
namespace {

constexpr UiText kVersionText = LIRABOX_TEXT("frmMain", "Lirabox for Scribemark, version");

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
    const std::filesystem::path guide = std::filesystem::path(helpFile).replace_extension(".html");
    if (isFile(guide)) return guide.string();
    const std::filesystem::path installed =
        (std::filesystem::path(executableFolder) / LIRABOX_BIN_TO_DOC / guide.filename()).lexically_normal();
    if (!executableFolder.empty() && isFile(installed)) return installed.string();
    return std::nullopt;
}

}  // namespace lirabox
