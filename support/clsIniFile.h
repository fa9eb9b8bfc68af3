#pragma once
// One INI file: a bare file name plus a folder chosen by a path mode.
// Reads can write a missing key back with the caller's default; every write
// is announced to listeners before (by reference) and after (by value).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lirabox {

class clsIniFile {
public:
    // Listeners: UpdateBefore may change what is written and where.
    using UpdateBeforeHandler =
        std::function<void(std::string& Section, std::string& Key, std::string& Value, std::string& FileName)>;
    using UpdateAfterHandler =
        std::function<void(std::string Section, std::string Key, std::string Value, std::string FileName)>;

    static constexpr std::int32_t kErrNoFileName = 2001;
    static constexpr std::int32_t kErrNoSectionKey = 2002;
    static constexpr std::int32_t kErrWriteFailed = 2003;
    static constexpr std::int32_t kErrPathInFileName = 2004;

    // Path modes: where FileName lies.
    static constexpr std::int32_t kPathGiven = 0;          // in FilePath as set
    static constexpr std::int32_t kPathProgramFolder = 1;  // in the program folder
    static constexpr std::int32_t kPathWindowsFolder = 2;  // in the Windows directory (Linux: the configuration folder)

    std::string ReadString(const std::string& Section, const std::string& Key, const std::string& Defalt);
    bool WriteString(const std::string& Section, const std::string& Key, const std::string& Value);

    // Writes several keys as WriteString would one after another (each
    // announced the same way), but in one replacement of the file, so a crash
    // leaves all of them or none. True when every one was written.
    struct Entry {
        std::string Section;
        std::string Key;
        std::string Value;
    };
    bool WriteStrings(const std::vector<Entry>& entries);

    const std::string& FileName() const { return mFileName; }
    void setFileName(const std::string& name);  // raises 2004 for a path while FilePathMode != 0

    const std::string& FilePath() const { return mFilePath; }
    void setFilePath(const std::string& path);  // switches to mode 0, appends "/"

    std::int32_t FilePathMode() const { return mFilePathMode; }
    void setFilePathMode(std::int32_t mode);

    std::int16_t bufferSize() const { return mBufferSize; }
    void setBufferSize(std::int16_t size) { mBufferSize = size; }
    bool NothingWrite() const { return mNothingWrite; }
    void setNothingWrite(bool value) { mNothingWrite = value; }
    const std::string& NothingChar() const { return mNothingChar; }
    void setNothingChar(const std::string& value) { mNothingChar = value; }
    const std::string& Section() const { return mSection; }
    void setSection(const std::string& value) { mSection = value; }
    const std::string& Key() const { return mKey; }
    void setKey(const std::string& value) { mKey = value; }
    const std::string& Default() const { return mDefault; }
    void setDefault(const std::string& value) { mDefault = value; }

    // Reads / writes the remembered Section and Key (set raises 2003 on failure).
    std::string Value();
    void setValue(const std::string& value);

    void onUpdateBefore(UpdateBeforeHandler handler) { mUpdateBefore.push_back(std::move(handler)); }
    void onUpdateAfter(UpdateAfterHandler handler) { mUpdateAfter.push_back(std::move(handler)); }

private:
    void ResolvePath();
    static std::string AddPathSeparator(const std::string& path);
    void CheckFileName() const;
    static void CheckSectionKey(const std::string& section, const std::string& key);
    // By value: a listener may change the remembered fields while these run.
    std::string ReadProfile(std::string section, std::string key, std::string defalt);
    bool WriteProfile(std::string section, std::string key, std::string value);
    bool WriteProfiles(const std::vector<Entry>& entries);

    std::string mFileName;
    std::string mSection;
    std::string mKey;
    std::string mDefault;
    std::int16_t mBufferSize = 1024;
    bool mNothingWrite = true;
    std::string mNothingChar = "$*Data Nothing!! IniFile Class";
    std::int32_t mFilePathMode = kPathProgramFolder;
    std::string mFilePath;
    std::vector<UpdateBeforeHandler> mUpdateBefore;
    std::vector<UpdateAfterHandler> mUpdateAfter;
};

// ReadString that leaves the file as it is: a missing key gives the default
// without being written back. For settings added later, so that a file that
// never held them keeps its layout until the user saves one.
std::string ReadStringKeepingFile(clsIniFile& ini, const std::string& Section, const std::string& Key,
                                  const std::string& Defalt);

}  // namespace lirabox
