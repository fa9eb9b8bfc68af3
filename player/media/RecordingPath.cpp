#include "RecordingPath.h"

#include "support/Utf8Path.h"

#include <filesystem>
#include <fstream>

namespace lirabox::media {

std::string unusableNameReason(const std::string& path) {
    if (path.empty()) return "no file name given";
    if (const auto nul = path.find('\0'); nul != std::string::npos) {
        return "the file name holds a NUL character: " + path.substr(0, nul);
    }
    return {};
}

PathProblem pathProblem(const std::string& path) {
    if (!unusableNameReason(path).empty()) return PathProblem::NoName;
    const std::filesystem::path file = pathFromUtf8(path);
    std::error_code failure;
    const auto status = std::filesystem::status(file, failure);
    if (failure || !std::filesystem::exists(status)) return PathProblem::Missing;
    if (std::filesystem::is_directory(status)) return PathProblem::Folder;
    if (!std::filesystem::is_regular_file(status)) return PathProblem::NotPlainFile;
    if (!std::ifstream(file, std::ios::binary)) return PathProblem::Unreadable;
    return PathProblem::None;
}

std::string unusablePathReason(const std::string& path) {
    switch (pathProblem(path)) {
    case PathProblem::None: return {};
    case PathProblem::NoName: return unusableNameReason(path);
    case PathProblem::Missing: return "the file does not exist: " + path;
    case PathProblem::Folder: return "this is a folder, not a recording: " + path;
    case PathProblem::NotPlainFile: return "this is not a plain file: " + path;
    case PathProblem::Unreadable: return "the file cannot be read: " + path;
    }
    return {};
}

std::string fileNameOf(const std::string& path) { return utf8FromPath(pathFromUtf8(path).filename()); }

}  // namespace lirabox::media
