#include "support/PrivateProfile.h"

#include "support/AppPaths.h"
#include "support/AtomicFile.h"
#include "support/ProfileEncoding.h"
#include "support/ProfileText.h"

#include <algorithm>
#include <optional>

namespace lirabox {
namespace {

std::string pathOf(const std::string& fileName) {
    if (fileName.empty() || fileName.find('/') != std::string::npos) return fileName;
    return windowsDirectory() + "/" + fileName;
}

}  // namespace

std::string readPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                     int bufferSize, const std::string& fileName) {
    std::optional<std::string> value;
    if (const std::optional<std::string> bytes = readSmallFile(pathOf(fileName), kMaxProfileFileSize)) {
        value = findProfileValue(decodeProfile(*bytes).text, section, key);
    }
    return cutToBufferSize(value ? std::string_view(*value) : defaultAsReturned(defaultValue), bufferSize);
}

bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& fileName) {
    return writePrivateProfileStrings({{std::string(section), std::string(key), std::string(value)}}, fileName);
}

bool writePrivateProfileStrings(const std::vector<ProfileEntry>& entries, const std::string& fileName) {
    const auto storable = [](const ProfileEntry& e) { return isStorableProfileEntry(e.section, e.key, e.value); };
    const bool allStorable = std::all_of(entries.begin(), entries.end(), storable);
    if (std::none_of(entries.begin(), entries.end(), storable)) return false;
    const bool replaced = updateFileAtomically(pathOf(fileName), kMaxProfileFileSize, [&](std::string_view bytes) {
        DecodedProfile file = decodeProfile(bytes);
        for (const ProfileEntry& entry : entries) {
            if (storable(entry)) file.text = setProfileValue(file.text, entry.section, entry.key, entry.value);
        }
        return encodeProfile(file);
    });
    return replaced && allStorable;
}

}  // namespace lirabox
