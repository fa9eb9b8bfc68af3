#pragma once
// The byte form of an INI file: UTF-8 (with or without its byte order mark),
// or UTF-16, as a Windows editor saves "Unicode": with a byte order mark, or
// without one, recognised then as the system's own profile functions do, by
// the zero bytes of its mostly ASCII text. The text rules of ProfileText.h
// work on UTF-8; a UTF-16 file is read through UTF-8 and written back in its
// own form, so one file never holds two encodings.

#include <string>
#include <string_view>

namespace lirabox {

enum class ProfileEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian };

struct DecodedProfile {
    std::string text;  // UTF-8; a UTF-16 byte order mark is not part of it
    ProfileEncoding encoding = ProfileEncoding::Utf8;
    bool byteOrderMark = true;  // UTF-16: the file starts with one
    std::string oddByte;        // UTF-16: a last byte that makes no whole unit, kept as it was
};

// UTF-16 is recognised by its byte order mark, or without one when more than
// half of the first 256 units are ASCII characters (one byte zero, the other
// not) in the same byte order; anything else is taken as it is. Broken UTF-16
// (a lone surrogate) becomes U+FFFD.
DecodedProfile decodeProfile(std::string_view bytes);

// The bytes of `profile`'s text in its encoding, with its byte order mark and
// its odd last byte.
std::string encodeProfile(const DecodedProfile& profile);

}  // namespace lirabox
