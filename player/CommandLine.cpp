#include "CommandLine.h"

#include "support/RaisedError.h"
#include "support/Utf8Path.h"
#include "support/VbConvert.h"

#include <filesystem>
#include <system_error>

namespace lirabox {
namespace {

std::filesystem::path inStartFolder(const std::string& text, const std::filesystem::path& startFolder) {
    const std::filesystem::path path = pathFromUtf8(text);
    if (startFolder.empty() || !path.is_relative()) return path;
    return startFolder / path;
}

bool namesExistingFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

// The path without its trailing blanks and dots: "talk.mp3 /t=90", the
// natural way to type it, leaves a blank at the end of the path.
std::string withoutTrailingBlanksAndDots(const std::string& path) {
    const auto last = path.find_last_not_of(" .");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

// A relative path that names a file in the start folder, as a full path; a
// path that names no file but does without its trailing blanks and dots, as
// that file; anything else as given.
CommandLineFile located(const std::string& path, std::int32_t start, const std::filesystem::path& startFolder) {
    if (path.empty()) return CommandLineFile {path, start};
    const std::filesystem::path full = inStartFolder(path, startFolder);
    if (namesExistingFile(full)) return CommandLineFile {utf8FromPath(full), start};
    const std::string trimmed = withoutTrailingBlanksAndDots(path);
    if (!trimmed.empty() && trimmed != path) {
        const std::filesystem::path trimmedFull = inStartFolder(trimmed, startFolder);
        if (namesExistingFile(trimmedFull)) return CommandLineFile {utf8FromPath(trimmedFull), start};
    }
    return CommandLineFile {path, start};
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
        CommandLineFile file = located(text.substr(0, slash), toInt32(seconds), startFolder);
        file.startGiven = true;
        return file;
    } catch (const RaisedError&) {
        return std::nullopt;  // not a number, or out of range
    }
}

}  // namespace lirabox
