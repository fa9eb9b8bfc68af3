#include "VbConvert.h"

#include "RaisedError.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace lirabox {
namespace {

RaisedError typeMismatch() { return RaisedError(kErrTypeMismatch, "Lirabox", "Type mismatch"); }
RaisedError overflow() { return RaisedError(kErrOverflow, "Lirabox", "Overflow"); }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Accepts [sign] digits [. digits] [e|E [sign] digits], with at least one digit
// in the mantissa. Nothing else (no hex, no "inf", no "nan").
bool isDecimalNumber(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < t.size() && isDigit(t[i])) {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < t.size() && isDigit(t[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    return i == t.size();
}

template <class Int>
Int toInteger(double value) {
    if (std::isnan(value)) throw overflow();
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        throw overflow();
    }
    return static_cast<Int>(rounded);
}

}  // namespace

double roundHalfEven(double value) noexcept { return std::nearbyint(value); }

double toDouble(std::string_view text) {
    const std::string_view t = trimBlanks(text);
    if (!isDecimalNumber(t)) throw typeMismatch();
    // from_chars is locale-independent: "." is the decimal mark whatever the
    // desktop's language. It takes no leading "+".
    std::string_view digits = t;
    if (digits.front() == '+') digits.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to represent is zero; too large is an overflow.
        if (digits.find("e-") != std::string_view::npos || digits.find("E-") != std::string_view::npos) {
            return 0.0;
        }
        throw overflow();
    }
    if (ec != std::errc() || end != digits.data() + digits.size()) throw typeMismatch();
    return value;
}

std::int16_t toInt16(std::string_view text) { return toInteger<std::int16_t>(toDouble(text)); }
std::int32_t toInt32(std::string_view text) { return toInteger<std::int32_t>(toDouble(text)); }
std::int16_t toInt16(double value) { return toInteger<std::int16_t>(value); }
std::int32_t toInt32(double value) { return toInteger<std::int32_t>(value); }

std::string formatDouble15(double value) {
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

}  // namespace lirabox
