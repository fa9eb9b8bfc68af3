#pragma once
// A recording read for its loudness, apart from the engine that plays it: a
// decoder of its own, opened by path on the thread that uses it (one thread
// at a time). openEnvelopeSource is the platform's: libavformat/libavcodec on
// Linux, the Source Reader on Windows.

#include <memory>
#include <optional>
#include <string>

namespace lirabox::media {

class EnvelopeSource {
public:
    virtual ~EnvelopeSource() = default;
    // The recording's length in seconds (0 when unknown).
    virtual double seconds() const = 0;
    // The mean square (power) of about `span` seconds of sound from `at`
    // seconds on; nothing when no sound could be decoded there. Reading on
    // from where the last read ended decodes on without seeking.
    virtual std::optional<double> meanSquare(double at, double span) = 0;
};

// Null when the file cannot be opened or holds no sound.
std::unique_ptr<EnvelopeSource> openEnvelopeSource(const std::string& path);

}  // namespace lirabox::media
