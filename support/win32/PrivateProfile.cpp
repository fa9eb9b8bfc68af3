#include "support/PrivateProfile.h"

#include "support/AppPaths.h"
#include "support/ProfileText.h"

#include <algorithm>
#include <vector>

#include <windows.h>

namespace lirabox {
namespace {

// A bare name goes to our Windows directory, which may be the AppData
// stand-in: the system itself would always use its own Windows directory.
std::string pathOf(const std::string& fileName) {
    if (fileName.empty() || fileName.find_first_of("/\\") != std::string::npos) return fileName;
    return windowsDirectory() + "\\" + fileName;
}

}  // namespace

std::string readPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                     int bufferSize, const std::string& fileName) {
    const std::string path = pathOf(fileName);
    // Without a file the system would read win.ini; without room it returns nothing.
    if (path.empty() || bufferSize <= 0) return cutToBufferSize(defaultAsReturned(defaultValue), bufferSize);
    const std::string sectionText(untilNul(section)), keyText(untilNul(key)), defaultText(untilNul(defaultValue));
    std::vector<char> buffer(static_cast<std::size_t>(bufferSize) + 1, '\0');
    const DWORD length = ::GetPrivateProfileStringA(sectionText.c_str(),
                                                    keyText.c_str(),
                                                    defaultText.c_str(),
                                                    buffer.data(),
                                                    static_cast<DWORD>(bufferSize),
                                                    path.c_str());
    return std::string(untilNul(std::string_view(buffer.data(), std::min<std::size_t>(length, buffer.size()))));
}

bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& fileName) {
    const std::string path = pathOf(fileName);
    if (path.empty() || !isStorableProfileEntry(section, key, value)) return false;
    const std::string sectionText(section), keyText(key), valueText(value);
    return ::WritePrivateProfileStringA(sectionText.c_str(), keyText.c_str(), valueText.c_str(), path.c_str()) != 0;
}

// The system writes entry by entry: a crash between two of them leaves the
// earlier ones written.
bool writePrivateProfileStrings(const std::vector<ProfileEntry>& entries, const std::string& fileName) {
    bool allWritten = !entries.empty();
    for (const ProfileEntry& entry : entries) {
        allWritten = writePrivateProfileString(entry.section, entry.key, entry.value, fileName) && allWritten;
    }
    return allWritten;
}

}  // namespace lirabox
