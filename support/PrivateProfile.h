#pragma once
// Private-profile (INI) files: read one value, write values. A file name
// without a folder names a file in the Windows directory (AppPaths.h). An
// entry that would not read back as written (isStorableProfileEntry) is
// refused on every platform.
//
// posix/: our own reader and writer. The rules for the text itself are those
// of ProfileText.h; text is UTF-8, and a file saved in UTF-16 is read and
// written in UTF-16 (ProfileEncoding.h). A read parses the file afresh each
// time. A write edits the file in place (every line it does not write stays
// byte for byte as it was) and replaces it atomically (AtomicFile.h), so a
// crash leaves the old or the new file.
// win32/: the system's GetPrivateProfileStringA and WritePrivateProfileStringA;
// text is in the system's ANSI code page.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lirabox {

// Files above this size are not read (the default is returned) and not written.
inline constexpr std::size_t kMaxProfileFileSize = 16u * 1024u * 1024u;

// The value of `key` in `section` of `fileName`, or `defaultValue` when the file,
// the section or the key is missing; in both cases cut to bufferSize - 1 bytes
// (see cutToBufferSize) and at the first NUL. The default loses its trailing
// blanks and a matching pair of quotes around it.
std::string readPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                     int bufferSize, const std::string& fileName);

// Sets `key` in `section` of `fileName` to `value`, creating the file and the
// section when needed. False, with nothing changed, when the entry cannot be
// stored (isStorableProfileEntry) or the file cannot be replaced
// (updateFileAtomically).
bool writePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& fileName);

struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

// Sets every entry in turn, in one replacement of the file: the same bytes as
// writePrivateProfileString for each, but a crash leaves all of them or none.
// An entry that cannot be stored is left out and makes the result false.
bool writePrivateProfileStrings(const std::vector<ProfileEntry>& entries, const std::string& fileName);

}  // namespace lirabox
