#pragma once
// The byte form of an INI file: UTF-8 (with or without its byte order mark),
// or UTF-16 with a byte order mark, as a Windows editor saves "Unicode". The
// text rules of ProfileText.h work on UTF-8; a UTF-16 file is read through
// UTF-8 and written back in UTF-16 with its own byte order mark.

#include <string>
#include <string_view>

namespace lirabox {

enum class ProfileEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian };

struct DecodedProfile {
    std::string text;  // UTF-8; a UTF-16 byte order mark is not part of it
    ProfileEncoding encoding = ProfileEncoding::Utf8;
};

// UTF-16 is recognised by its byte order mark; anything else is taken as it
// is. Broken UTF-16 (a lone surrogate) becomes U+FFFD.
DecodedProfile decodeProfile(std::string_view bytes);

// The bytes of `text` (UTF-8) in `encoding`, with the byte order mark for UTF-16.
std::string encodeProfile(std::string_view text, ProfileEncoding encoding);

}  // namespace lirabox
