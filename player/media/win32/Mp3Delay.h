#pragma once
// The silence an MP3 decoder puts before (and after) the sound: the encoder's
// delay and padding from the LAME tag of the first frame, plus the decoder's
// own delay of 529 samples. Decoders that do not trim it start the sound late
// by that much, so positions would not match the original recording.

#include <cstdint>
#include <optional>
#include <string>

namespace lirabox::media {

struct Mp3Delay {
    std::int64_t leading = 0;                 // frames to drop at the start
    std::optional<std::int64_t> soundFrames;  // frames of sound, when the tag tells
};

// nullopt for a file that is not MPEG audio layer III. Without a LAME tag the
// usual encoder delay of 576 samples is assumed.
std::optional<Mp3Delay> readMp3Delay(const std::string& path);

}  // namespace lirabox::media
