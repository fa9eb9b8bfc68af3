#include "RecordingHistory.h"

#include "support/ConfigFiles.h"
#include "support/Utf8Path.h"
#include "support/VbConvert.h"
#include "support/clsIniFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>

namespace lirabox {
namespace {

namespace cfg = config;

const std::string kSection(cfg::kHistorySection);

// Beyond this (about 31 700 years) a position is no recording's.
constexpr double kLongest = 1e12;

// A recording left this close to its end has been heard to the end.
constexpr double kFinishedMargin = 1.0;

std::string positionText(double seconds) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.1f", std::min(seconds, kLongest));
    return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string("0");
}

std::optional<RecordingHistory::Recording> parsed(const std::string& value) {
    const std::size_t bar = value.find('|');
    if (bar == std::string::npos || bar + 1 == value.size()) return std::nullopt;
    double seconds = 0;
    try {
        seconds = toDouble(value.substr(0, bar));
    } catch (...) {
        return std::nullopt;
    }
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    return RecordingHistory::Recording {value.substr(bar + 1), seconds};
}

}  // namespace

RecordingHistory::RecordingHistory(std::shared_ptr<clsIniFile> file) : mFile(std::move(file)) {
    for (std::size_t key = 1; key <= kMaxRecordings; ++key) {
        const std::string value = ReadStringKeepingFile(*mFile, kSection, std::to_string(key), "");
        if (value.empty()) continue;
        mStoredKeys = key;
        const auto recording = parsed(value);
        if (recording && find(recording->path) == mRecordings.end()) mRecordings.push_back(*recording);
    }
}

std::shared_ptr<clsIniFile> RecordingHistory::programFile() {
    auto file = std::make_shared<clsIniFile>();
    file->setFilePathMode(clsIniFile::kPathProgramFolder);
    file->setFileName(std::string(cfg::kHistoryFile));
    file->setBufferSize(std::numeric_limits<std::int16_t>::max());
    return file;
}

std::vector<RecordingHistory::Recording>::iterator RecordingHistory::find(const std::string& path) {
    return std::find_if(
        mRecordings.begin(), mRecordings.end(), [&](const Recording& recording) { return recording.path == path; });
}

double RecordingHistory::resumePosition(const std::string& path, double duration) const {
    const double saved = position(path).value_or(0);
    return saved < duration - kFinishedMargin ? saved : 0;
}

std::string RecordingHistory::listedName(const std::string& path) {
    std::error_code noFullPath;
    const std::filesystem::path full = std::filesystem::absolute(pathFromUtf8(path), noFullPath);
    return noFullPath ? path : utf8FromPath(full.lexically_normal());
}

void RecordingHistory::opened(const std::string& path) {
    const auto found = find(path);
    const Recording recording = found == mRecordings.end() ? Recording {path, 0} : *found;
    if (found != mRecordings.end()) mRecordings.erase(found);
    mRecordings.insert(mRecordings.begin(), recording);
    if (mRecordings.size() > kMaxRecordings) mRecordings.resize(kMaxRecordings);
}

void RecordingHistory::remember(const std::string& path, double position) {
    if (find(path) == mRecordings.end()) opened(path);
    find(path)->position = std::isfinite(position) && position > 0 ? position : 0;
}

void RecordingHistory::forget(const std::string& path) {
    const auto found = find(path);
    if (found != mRecordings.end()) mRecordings.erase(found);
}

std::optional<double> RecordingHistory::position(const std::string& path) const {
    const auto found = std::find_if(
        mRecordings.begin(), mRecordings.end(), [&](const Recording& recording) { return recording.path == path; });
    if (found == mRecordings.end()) return std::nullopt;
    return found->position;
}

bool RecordingHistory::save() {
    std::vector<clsIniFile::Entry> entries;
    for (std::size_t i = 0; i < mRecordings.size(); ++i) {
        entries.push_back(
            {kSection, std::to_string(i + 1), positionText(mRecordings[i].position) + "|" + mRecordings[i].path});
    }
    for (std::size_t key = mRecordings.size() + 1; key <= mStoredKeys; ++key) {
        entries.push_back({kSection, std::to_string(key), ""});
    }
    if (entries.empty()) return true;
    const bool written = mFile->WriteStrings(entries);
    mStoredKeys = mRecordings.size();
    return written;
}

}  // namespace lirabox
