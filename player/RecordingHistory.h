#pragma once
// The recordings opened lately, most recent first, each with the position it
// was left at: what the File menu lists and where a reopened recording can
// resume. At most kMaxRecordings are kept; the oldest goes first.
//
// Kept in one INI section of its own file (ConfigFiles.h), one key a
// recording ("1" .. "100"), each value "<seconds>|<full path>". Used on the
// UI thread only. Reading skips entries that do not parse; save() reports a
// failed write by its result and keeps the list in memory as it is.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lirabox {

class clsIniFile;

class RecordingHistory {
public:
    static constexpr std::size_t kMaxRecordings = 100;

    struct Recording {
        std::string path;
        double position = 0;
    };

    // Reads the list from the file.
    explicit RecordingHistory(std::shared_ptr<clsIniFile> file);
    // The program's list file, in the program folder.
    static std::shared_ptr<clsIniFile> programFile();

    // The recording goes to the front; its position stays what it was (0 for a new one).
    void opened(const std::string& path);
    // The recording's position; one not in the list is added at the front.
    void remember(const std::string& path, double position);
    void forget(const std::string& path);
    std::optional<double> position(const std::string& path) const;
    // Where the recording resumes: its position, or 0 when it has none or was
    // left within a second of its end (`duration`).
    double resumePosition(const std::string& path, double duration) const;
    // The name a recording is listed under: its full path, normalised (the
    // path itself when the current folder cannot be read).
    static std::string listedName(const std::string& path);
    const std::vector<Recording>& recordings() const { return mRecordings; }

    // Writes the whole list in one replacement of the file; false when it failed.
    bool save();

private:
    std::vector<Recording>::iterator find(const std::string& path);

    std::shared_ptr<clsIniFile> mFile;
    std::vector<Recording> mRecordings;
    // Keys the file held when last read or written: a shorter list blanks the rest.
    std::size_t mStoredKeys = 0;
};

}  // namespace lirabox
