#pragma once
// Number conversions with the rules the player's settings and displays rely on:
// rounding to the nearest whole number with halves going to the even one, and
// text-to-number conversions that fail loudly (type mismatch, overflow).

#include <cstdint>
#include <string>
#include <string_view>

namespace lirabox {

// Nearest whole number, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value) noexcept;

// Text to number: blanks around the text are ignored; an optional sign, digits,
// an optional "." fraction and an optional exponent are accepted.
// Throws RaisedError kErrTypeMismatch when the text is not a number.
double toDouble(std::string_view text);

// Rounded (ties to even) and range-checked conversions.
// Throw kErrTypeMismatch for a non-number, kErrOverflow outside the type's range.
std::int16_t toInt16(std::string_view text);
std::int32_t toInt32(std::string_view text);
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);

// A double written with at most 15 significant digits and "." as decimal mark
// (3 - 0.1 * 1 gives "2.9", 1.0 gives "1").
std::string formatDouble15(double value);

}  // namespace lirabox
