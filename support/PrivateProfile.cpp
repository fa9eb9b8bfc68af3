#include "PrivateProfile.h"

#include "AtomicFile.h"
#include "ProfileText.h"

#include <optional>

namespace lirabox {

std::string readPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                     int bufferSize, const std::string& fileName) {
    std::optional<std::string> value;
    if (const std::optional<std::string> text = readSmallFile(fileName, kMaxProfileFileSize)) {
        value = findProfileValue(*text, section, key);
    }
    return cutToBufferSize(value ? std::string_view(*value) : untilNul(defaultValue), bufferSize);
}

bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& fileName) {
    if (!isStorableProfileEntry(section, key, value)) return false;
    return updateFileAtomically(fileName, kMaxProfileFileSize, [&](std::string_view text) {
        return setProfileValue(text, section, key, value);
    });
}

}  // namespace lirabox
