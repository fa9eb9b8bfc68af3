#pragma once
// The text of a private-profile (INI) file: finding a value and setting one.
//
// A line "[name]" starts a section (the name is what stands between "[" and the
// last "]"); a line "key=value" is an entry of the section above it; a line
// starting with ";" is a comment; other lines are ignored. Section and key names
// are compared without regard to ASCII case, and blanks around names and values
// do not count. A value enclosed in a matching pair of double or single quotes
// is returned without them. Only the first section of a name is looked at, and
// the first entry of a key in it wins. LF, CRLF and CR-only line ends are
// read; a UTF-8 byte order mark at the start is skipped. Names and values end at a NUL.

#include <optional>
#include <string>
#include <string_view>

namespace lirabox {

// The value of `key` in `section`, or nothing when the section or key is absent.
std::optional<std::string> findProfileValue(std::string_view text, std::string_view section, std::string_view key);

// Whether the three can be stored so that they read back as one entry: both
// names non-blank, no line break anywhere, and a key that holds no "=" and does
// not begin like a section or a comment.
bool isStorableProfileEntry(std::string_view section, std::string_view key, std::string_view value);

// `text` with `key` in `section` set to `value` (which must be storable). The
// entry's line is rewritten where it stands, keeping what precedes the value;
// a new key goes after the last entry of the section; a missing section is
// appended at the end. Every other byte stays as it was. New lines take the
// line end of the text's first line (LF, CRLF or CR; LF when it has none).
std::string setProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

// `text` cut to at most bufferSize - 1 bytes (empty for a size of 1 or less),
// without leaving half a UTF-8 character at the end.
std::string cutToBufferSize(std::string_view text, int bufferSize);

// `text` up to its first NUL.
std::string_view untilNul(std::string_view text);

// `value` without a matching pair of double or single quotes around it.
std::string_view withoutQuotes(std::string_view value);

// The default as a read returns it: cut at its first NUL, without trailing
// blanks and without a matching pair of quotes around it.
std::string_view defaultAsReturned(std::string_view defaultValue);

}  // namespace lirabox
