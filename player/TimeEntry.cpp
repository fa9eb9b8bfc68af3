#include "TimeEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace lirabox {
namespace {

constexpr std::size_t kMaxFirstDigits = 9;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// A run of digits at the front of text, as a number; its length in `length`.
std::int64_t digitsAt(std::string_view text, std::size_t& length) {
    std::int64_t value = 0;
    length = 0;
    while (length < text.size() && isDigit(text[length]) && length <= kMaxFirstDigits) {
        value = value * 10 + (text[length] - '0');
        ++length;
    }
    return value;
}

// The length of the "d+:dd:dd(.d+)?" at the front of text, or 0.
std::size_t stampLength(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isDigit(text[at])) ++at;
    if (at == 0) return 0;
    for (int field = 0; field < 2; ++field) {
        if (text.size() < at + 3 || text[at] != ':' || !isDigit(text[at + 1]) || !isDigit(text[at + 2])) return 0;
        at += 3;
    }
    if (at + 1 < text.size() && text[at] == '.' && isDigit(text[at + 1])) {
        ++at;
        while (at < text.size() && isDigit(text[at])) ++at;
    }
    return at;
}

}  // namespace

std::optional<double> parseTimeEntry(std::string_view text) {
    text = trimmed(text);
    std::array<std::int64_t, 3> fields {};
    std::size_t count = 0;
    double fraction = 0;
    while (true) {
        std::size_t length = 0;
        const std::int64_t value = digitsAt(text, length);
        const bool first = count == 0;
        if (length == 0 || (first ? length > kMaxFirstDigits : length != 2 || value >= 60)) return std::nullopt;
        fields[count++] = value;
        text.remove_prefix(length);
        if (text.empty()) break;
        if (text.front() == '.') {
            text.remove_prefix(1);
            if (text.empty()) return std::nullopt;
            double scale = 0.1;
            for (const char c : text) {
                if (!isDigit(c)) return std::nullopt;
                fraction += (c - '0') * scale;
                scale /= 10;
            }
            break;
        }
        if (text.front() != ':' || count == fields.size()) return std::nullopt;
        text.remove_prefix(1);
    }
    double seconds = 0;
    for (std::size_t i = 0; i < count; ++i) seconds = seconds * 60 + static_cast<double>(fields[i]);
    return seconds + fraction;
}

std::optional<double> findTimeStamp(std::string_view text) {
    text = text.substr(0, kTimeStampSearchSpan);
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!isDigit(text[at]) || (at > 0 && isDigit(text[at - 1]))) continue;
        const std::size_t length = stampLength(text.substr(at));
        const bool digitAfter = at + length < text.size() && isDigit(text[at + length]);
        if (length != 0 && !digitAfter) {
            if (const auto seconds = parseTimeEntry(text.substr(at, length))) return seconds;
        }
    }
    return std::nullopt;
}

}  // namespace lirabox
