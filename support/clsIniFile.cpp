#include "clsIniFile.h"

#include "AppPaths.h"
#include "PrivateProfile.h"
#include "ProfileText.h"
#include "RaisedError.h"
#include "Trace.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace lirabox {
namespace {

constexpr const char* kSource = "IniFile - Class";

bool isEmptyOrSpaces(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// `error` is the errno of the failed write, or 0 when the entry itself could not be stored.
void traceFailedWrite(const std::string& section, const std::string& key, const std::string& file, int error) {
    trace("cannot write [" + section + "] " + key + " to " + file + ": " +
          (error != 0 ? "error " + std::to_string(error) + ": " + std::strerror(error)
                      : std::string("the entry cannot be stored")));
}

}  // namespace

void clsIniFile::setFileName(const std::string& name) {
    if (mFilePathMode != kPathGiven) {
        if (name.find('/') != std::string::npos) {
            throw RaisedError::object(kErrPathInFileName, kSource, "ファイル名にパスを含むことはできません。");
        }
        ResolvePath();
    }
    mFileName = name;
}

void clsIniFile::setFilePath(const std::string& path) {
    mFilePathMode = kPathGiven;
    mFilePath = AddPathSeparator(path);
}

void clsIniFile::setFilePathMode(std::int32_t mode) {
    mFilePathMode = mode;
    ResolvePath();
}

std::string clsIniFile::ReadString(const std::string& Section, const std::string& Key, const std::string& Defalt) {
    std::string section = Section, key = Key, defalt = Defalt;
    std::string result = ReadProfile(section, key, defalt);
    mSection = std::move(section);
    mKey = std::move(key);
    mDefault = std::move(defalt);
    return result;
}

std::string ReadStringKeepingFile(clsIniFile& ini, const std::string& Section, const std::string& Key,
                                  const std::string& Defalt) {
    struct Restore {
        clsIniFile& ini;
        bool writeBack;
        ~Restore() { ini.setNothingWrite(writeBack); }
    } restore {ini, ini.NothingWrite()};
    ini.setNothingWrite(false);
    return ini.ReadString(Section, Key, Defalt);
}

bool clsIniFile::WriteString(const std::string& Section, const std::string& Key, const std::string& Value) {
    std::string section = Section, key = Key;
    CheckFileName();
    const bool written = WriteProfile(section, key, Value);
    mSection = std::move(section);
    mKey = std::move(key);
    mDefault.clear();
    return written;
}

bool clsIniFile::WriteStrings(const std::vector<Entry>& entries) {
    CheckFileName();
    const bool written = WriteProfiles(entries);
    if (!entries.empty()) {
        mSection = entries.back().Section;
        mKey = entries.back().Key;
        mDefault.clear();
    }
    return written;
}

bool clsIniFile::WriteProfiles(const std::vector<Entry>& entries) {
    CheckFileName();
    for (const Entry& entry : entries) CheckSectionKey(entry.Section, entry.Key);
    // Listeners may send an entry to another file: each file gets one replacement.
    std::vector<std::pair<std::string, std::vector<ProfileEntry>>> files;
    std::vector<std::array<std::string, 4>> announced;
    for (const Entry& entry : entries) {
        std::string section = entry.Section, key = entry.Key, value = entry.Value, file = mFilePath + mFileName;
        // Copies, so that a listener may attach further listeners.
        const std::vector<UpdateBeforeHandler> before = mUpdateBefore;
        for (const UpdateBeforeHandler& listener : before) listener(section, key, value, file);
        auto same = std::find_if(files.begin(), files.end(), [&](const auto& f) { return f.first == file; });
        if (same == files.end()) same = files.insert(files.end(), {file, {}});
        same->second.push_back({section, key, value});
        announced.push_back({section, key, value, file});
    }
    bool written = true;
    for (const auto& [file, fileEntries] : files) {
        errno = 0;
        if (writePrivateProfileStrings(fileEntries, file)) continue;
        written = false;
        for (const ProfileEntry& entry : fileEntries) traceFailedWrite(entry.section, entry.key, file, errno);
    }
    for (const auto& [section, key, value, file] : announced) {
        const std::vector<UpdateAfterHandler> after = mUpdateAfter;
        for (const UpdateAfterHandler& listener : after) listener(section, key, value, file);
    }
    return written;
}

std::string clsIniFile::Value() { return ReadProfile(mSection, mKey, mDefault); }

void clsIniFile::setValue(const std::string& value) {
    const std::string section = mSection, key = mKey;
    if (!WriteProfile(section, key, value)) {
        throw RaisedError::object(kErrWriteFailed, kSource, "書き込みに失敗しました。 " + section + " , " + key);
    }
}

void clsIniFile::ResolvePath() {
    switch (mFilePathMode) {
    case kPathGiven: break;
    case kPathProgramFolder: mFilePath = AddPathSeparator(programFolder()); break;
    case kPathWindowsFolder: mFilePath = AddPathSeparator(windowsDirectory()); break;
    default: mFilePath.clear(); break;
    }
}

std::string clsIniFile::AddPathSeparator(const std::string& path) {
    if (path.empty() || path.back() == '/') return path;
    return path + '/';
}

void clsIniFile::CheckFileName() const {
    if (isEmptyOrSpaces(mFileName)) {
        throw RaisedError::object(kErrNoFileName, kSource, "ファイル名が指定されていません。");
    }
}

void clsIniFile::CheckSectionKey(const std::string& section, const std::string& key) {
    if (isEmptyOrSpaces(section) || isEmptyOrSpaces(key)) {
        throw RaisedError::object(kErrNoSectionKey, kSource, "Section名またはKey名が指定されていません。");
    }
}

std::string clsIniFile::ReadProfile(std::string section, std::string key, std::string defalt) {
    CheckFileName();
    CheckSectionKey(section, key);
    const std::string file = mFilePath + mFileName;
    if (!mNothingWrite) return readPrivateProfileString(section, key, defalt, mBufferSize, file);

    // The marker is read with room to spare: a short buffer must neither turn the
    // marker into something else nor make a longer stored value look like it.
    const std::string marker = mNothingChar;
    const int roomy = std::max<int>(mBufferSize, static_cast<int>(marker.size()) + 5);
    const std::string stored = readPrivateProfileString(section, key, marker, roomy, file);
    if (stored == marker) {
        WriteProfile(section, key, defalt);
        return defalt;
    }
    return cutToBufferSize(stored, mBufferSize);
}

bool clsIniFile::WriteProfile(std::string section, std::string key, std::string value) {
    return WriteProfiles({{std::move(section), std::move(key), std::move(value)}});
}

}  // namespace lirabox
