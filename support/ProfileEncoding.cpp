#include "ProfileEncoding.h"

#include <algorithm>
#include <cstdint>

namespace lirabox {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void appendUnit(std::string& out, std::uint16_t unit, bool bigEndian) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

// The next character of UTF-8 text at `at` (advanced past it); invalid bytes give U+FFFD.
char32_t nextUtf8(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(at++);
    if (first < 0x80) return first;
    const int more = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : -1;
    if (more < 0 || at + static_cast<std::size_t>(more) > text.size()) return kReplacement;
    char32_t c = first & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        if ((byte(at) & 0xC0) != 0x80) return kReplacement;
        c = (c << 6) | (byte(at++) & 0x3F);
    }
    return c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? kReplacement : c;
}

// The encoding a file without a UTF-16 byte order mark is in.
ProfileEncoding guessedEncoding(std::string_view bytes) {
    constexpr std::size_t kUnitsLookedAt = 256;
    const std::size_t units = std::min(bytes.size() / 2, kUnitsLookedAt);
    std::size_t littleAscii = 0;
    std::size_t bigAscii = 0;
    for (std::size_t i = 0; i < units; ++i) {
        const bool firstZero = bytes[2 * i] == '\0';
        const bool secondZero = bytes[2 * i + 1] == '\0';
        if (!firstZero && secondZero) ++littleAscii;
        if (firstZero && !secondZero) ++bigAscii;
    }
    if (2 * littleAscii > units) return ProfileEncoding::Utf16LittleEndian;
    if (2 * bigAscii > units) return ProfileEncoding::Utf16BigEndian;
    return ProfileEncoding::Utf8;
}

}  // namespace

DecodedProfile decodeProfile(std::string_view bytes) {
    DecodedProfile decoded;
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        decoded.encoding = ProfileEncoding::Utf16LittleEndian;
    } else if (bytes.substr(0, 2) == "\xFE\xFF") {
        decoded.encoding = ProfileEncoding::Utf16BigEndian;
    } else {
        decoded.encoding = guessedEncoding(bytes);
        decoded.byteOrderMark = false;
    }
    if (decoded.encoding == ProfileEncoding::Utf8) {
        decoded.text = std::string(bytes);
        return decoded;
    }
    const bool little = decoded.encoding == ProfileEncoding::Utf16LittleEndian;
    if (decoded.byteOrderMark) bytes.remove_prefix(2);
    if (bytes.size() % 2 != 0) {
        decoded.oddByte = std::string(bytes.substr(bytes.size() - 1));
        bytes.remove_suffix(1);
    }
    decoded.text.reserve(bytes.size());
    const auto unitAt = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint16_t>(little ? (b << 8 | a) : (a << 8 | b));
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint16_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint16_t next = unitAt(i + 2);
            if (next >= 0xDC00 && next < 0xE000) {
                appendUtf8(decoded.text, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (next - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(decoded.text, unit >= 0xD800 && unit < 0xE000 ? kReplacement : unit);
    }
    return decoded;
}

std::string encodeProfile(const DecodedProfile& profile) {
    const std::string_view text = profile.text;
    if (profile.encoding == ProfileEncoding::Utf8) return std::string(text);
    const bool bigEndian = profile.encoding == ProfileEncoding::Utf16BigEndian;
    std::string out;
    out.reserve(3 + text.size() * 2);
    if (profile.byteOrderMark) appendUnit(out, 0xFEFF, bigEndian);
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = nextUtf8(text, at);
        if (c < 0x10000) {
            appendUnit(out, static_cast<std::uint16_t>(c), bigEndian);
        } else {
            appendUnit(out, static_cast<std::uint16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
            appendUnit(out, static_cast<std::uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
        }
    }
    return out + profile.oddByte;
}

}  // namespace lirabox
