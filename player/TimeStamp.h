#pragma once
// The text the time stamp command types: the playing position in one of a
// few fixed forms, followed by one blank so that typing can go on at once.

#include <array>
#include <string>
#include <string_view>

namespace lirabox {

enum class TimeStampFormat {
    Bracketed,        // [hh:mm:ss]
    BracketedTenths,  // [hh:mm:ss.d]
    Plain,            // hh:mm:ss
    Hashed,           // #hh:mm:ss#
};

inline constexpr std::array<TimeStampFormat, 4> kTimeStampFormats {
    TimeStampFormat::Bracketed, TimeStampFormat::BracketedTenths, TimeStampFormat::Plain, TimeStampFormat::Hashed};

// The form's pattern, such as "[hh:mm:ss]": what "UserCfg.ini" stores and the
// settings dialog lists.
std::string_view timeStampPattern(TimeStampFormat format);
// The form a stored pattern names; anything else gives the default, Bracketed.
TimeStampFormat timeStampFormatNamed(std::string_view pattern);

// The position rounded to the form's last digit (halves to even, as the time
// label rounds), e.g. "[00:01:15] " for 75.2 s. Hours take as many digits as
// they need; a negative or undefined position counts as 0.
std::string TimeStampText(double seconds, TimeStampFormat format);

}  // namespace lirabox
