#pragma once
// The error every support class raises to its caller: a number, a source text
// and a description, like the errors of the platform's component objects.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace lirabox {

// Base of the numbers our own classes raise (the platform's object-error base).
inline constexpr std::int32_t kObjectErrorBase = static_cast<std::int32_t>(0x80040000u);

// Numbers of the runtime errors raised by conversions.
inline constexpr std::int32_t kErrOverflow = 6;
inline constexpr std::int32_t kErrDivisionByZero = 11;
inline constexpr std::int32_t kErrTypeMismatch = 13;

class RaisedError : public std::runtime_error {
public:
    RaisedError(std::int32_t number, std::string source, std::string description)
        : std::runtime_error(description.empty() ? source : description), mNumber(number), mSource(std::move(source)),
          mDescription(std::move(description)) {}

    // An error of one of our classes: the object-error base plus the class's code.
    static RaisedError object(std::int32_t code, std::string source, std::string description) {
        return RaisedError(kObjectErrorBase + code, std::move(source), std::move(description));
    }

    std::int32_t number() const noexcept { return mNumber; }
    const std::string& source() const noexcept { return mSource; }
    const std::string& description() const noexcept { return mDescription; }

private:
    std::int32_t mNumber;
    std::string mSource;
    std::string mDescription;
};

}  // namespace lirabox
