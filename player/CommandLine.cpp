#include "CommandLine.h"

#include "support/RaisedError.h"
#include "support/VbConvert.h"

#include <filesystem>
#include <system_error>

namespace lirabox {
namespace {

std::filesystem::path inStartFolder(const std::string& text, const std::filesystem::path& startFolder) {
    const std::filesystem::path path(text);
    if (startFolder.empty() || !path.is_relative()) return path;
    return startFolder / path;
}

bool namesExistingFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

// A relative path that names a file in the start folder, as a full path;
// anything else as given.
CommandLineFile located(const std::string& path, std::int32_t start, const std::filesystem::path& startFolder) {
    if (path.empty()) return CommandLineFile{path, start};
    const std::filesystem::path full = inStartFolder(path, startFolder);
    return CommandLineFile{namesExistingFile(full) ? full.string() : path, start};
}

}  // namespace

std::string argumentText(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) text += ' ';
        text += argv[i];
    }
    return text;
}

std::optional<CommandLineFile> parseCommandLine(const std::string& text, const std::filesystem::path& startFolder) {
    if (text.empty()) return std::nullopt;
    if (namesExistingFile(inStartFolder(text, startFolder))) return located(text, 0, startFolder);

    // Linux paths are full of "/", so only the text after the last one can be
    // the "/t=" option.
    const auto slash = text.rfind('/');
    if (slash == std::string::npos) return located(text, 0, startFolder);
    const std::string option = text.substr(slash + 1);
    const auto equals = option.find('=');
    if (option != "t" && equals == std::string::npos) return located(text, 0, startFolder);

    if (option.substr(0, equals) != "t" || equals == std::string::npos) return std::nullopt;
    std::string seconds = option.substr(equals + 1);
    seconds = seconds.substr(0, seconds.find('='));
    try {
        return located(text.substr(0, slash), toInt32(seconds), startFolder);
    } catch (const RaisedError&) {
        return std::nullopt;  // not a number, or out of range
    }
}

}  // namespace lirabox
