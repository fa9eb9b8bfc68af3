#include "CommandLine.h"

#include "support/RaisedError.h"
#include "support/VbConvert.h"

#include <filesystem>
#include <system_error>

namespace lirabox {
namespace {

bool namesExistingFile(const std::string& text) {
    std::error_code error;
    const auto status = std::filesystem::status(text, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
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

std::optional<CommandLineFile> parseCommandLine(const std::string& text) {
    if (text.empty()) return std::nullopt;
    if (namesExistingFile(text)) return CommandLineFile{text, 0};

    // Linux paths are full of "/", so only the text after the last one can be
    // the "/t=" option.
    const auto slash = text.rfind('/');
    if (slash == std::string::npos) return CommandLineFile{text, 0};
    const std::string option = text.substr(slash + 1);
    const auto equals = option.find('=');
    if (option != "t" && equals == std::string::npos) return CommandLineFile{text, 0};

    if (option.substr(0, equals) != "t" || equals == std::string::npos) return std::nullopt;
    std::string seconds = option.substr(equals + 1);
    seconds = seconds.substr(0, seconds.find('='));
    try {
        return CommandLineFile{text.substr(0, slash), toInt32(seconds)};
    } catch (const RaisedError&) {
        return std::nullopt;  // not a number, or out of range
    }
}

}  // namespace lirabox
