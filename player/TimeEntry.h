#pragma once
// Times the user writes: what the go-to-time dialog takes, and the time stamps
// found in a selection. Plain functions, no state; safe on any thread.

#include <optional>
#include <string_view>

namespace lirabox {

// Seconds for "hh:mm:ss", "mm:ss" or "ss", each optionally with a fraction of
// a second on its last field ("01:02:03.5"). Leading and trailing blanks are
// allowed; every other character must belong to the form. The first field
// takes any number of digits (up to 9), the fields after it two digits below
// 60. Nothing for anything else, an empty text included.
std::optional<double> parseTimeEntry(std::string_view text);

// The first time stamp in a text, in seconds: "hh:mm:ss" or "hh:mm:ss.d",
// alone or in the time stamp command's brackets or hashes ("[00:01:15]",
// "#00:01:15#"), with anything around it. Only the first kTimeStampSearchSpan
// bytes are searched. Nothing when the text holds none.
inline constexpr std::size_t kTimeStampSearchSpan = 4096;
std::optional<double> findTimeStamp(std::string_view text);

}  // namespace lirabox
