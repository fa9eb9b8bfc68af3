#include "ProfileEncoding.h"

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

}  // namespace

DecodedProfile decodeProfile(std::string_view bytes) {
    const bool little = bytes.substr(0, 2) == "\xFF\xFE";
    const bool big = bytes.substr(0, 2) == "\xFE\xFF";
    if (!little && !big) return {std::string(bytes), ProfileEncoding::Utf8};

    DecodedProfile decoded{{}, little ? ProfileEncoding::Utf16LittleEndian : ProfileEncoding::Utf16BigEndian};
    decoded.text.reserve(bytes.size());
    const auto unitAt = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint16_t>(little ? (b << 8 | a) : (a << 8 | b));
    };
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
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

std::string encodeProfile(std::string_view text, ProfileEncoding encoding) {
    if (encoding == ProfileEncoding::Utf8) return std::string(text);
    const bool bigEndian = encoding == ProfileEncoding::Utf16BigEndian;
    std::string out;
    out.reserve(2 + text.size() * 2);
    appendUnit(out, 0xFEFF, bigEndian);
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = nextUtf8(text, at);
        if (c < 0x10000) {
            appendUnit(out, static_cast<std::uint16_t>(c), bigEndian);
        } else {
            appendUnit(out, static_cast<std::uint16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
            appendUnit(out, static_cast<std::uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
        }
    }
    return out;
}

}  // namespace lirabox
