#include "TimeStamp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace lirabox {
namespace {

struct Form {
    TimeStampFormat format;
    std::string_view pattern;
    const char* before;
    const char* after;
    bool tenths;
};

constexpr std::array<Form, 4> kForms {{
    {TimeStampFormat::Bracketed, "[hh:mm:ss]", "[", "]", false},
    {TimeStampFormat::BracketedTenths, "[hh:mm:ss.d]", "[", "]", true},
    {TimeStampFormat::Plain, "hh:mm:ss", "", "", false},
    {TimeStampFormat::Hashed, "#hh:mm:ss#", "#", "#", false},
}};

const Form& formOf(TimeStampFormat format) {
    for (const Form& form : kForms) {
        if (form.format == format) return form;
    }
    return kForms.front();
}

// Beyond this (about 31 700 years) a position is no recording's.
constexpr double kLongest = 1e12;

}  // namespace

std::string_view timeStampPattern(TimeStampFormat format) { return formOf(format).pattern; }

TimeStampFormat timeStampFormatNamed(std::string_view pattern) {
    for (const Form& form : kForms) {
        if (form.pattern == pattern) return form.format;
    }
    return TimeStampFormat::Bracketed;
}

std::string TimeStampText(double seconds, TimeStampFormat format) {
    const Form& form = formOf(format);
    const double units = form.tenths ? 10 : 1;
    const double clamped = std::isfinite(seconds) && seconds > 0 ? std::min(seconds, kLongest) : 0.0;
    const auto count = static_cast<std::int64_t>(std::nearbyint(clamped * units));
    const std::int64_t whole = form.tenths ? count / 10 : count;
    char text[64];
    int length = std::snprintf(text,
                               sizeof text,
                               "%s%02lld:%02lld:%02lld",
                               form.before,
                               static_cast<long long>(whole / 3600),
                               static_cast<long long>(whole / 60 % 60),
                               static_cast<long long>(whole % 60));
    if (form.tenths)
        length += std::snprintf(
            text + length, sizeof text - static_cast<std::size_t>(length), ".%lld", static_cast<long long>(count % 10));
    return std::string(text, static_cast<std::size_t>(length)) + form.after + " ";
}

}  // namespace lirabox
