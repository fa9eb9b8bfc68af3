#pragma once
// A recording decoded to float PCM by Media Foundation's Source Reader (WAV,
// MP3, WMA and whatever else the system decodes), first audio stream only. The
// decoder silence at the start of an MP3 is dropped, so position 0 is the
// first sample of the original sound. Used from one thread, which must have
// COM and Media Foundation started.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct IMFSourceReader;

namespace lirabox::media {

class SourceDecoder {
public:
    enum class Failure { None, CannotOpen, NotPlayable };

    // Null with `failure` set and `reason` filled when the file cannot be used.
    static std::unique_ptr<SourceDecoder> open(const std::string& path, Failure& failure, std::string& reason);
    ~SourceDecoder();
    SourceDecoder(const SourceDecoder&) = delete;
    SourceDecoder& operator=(const SourceDecoder&) = delete;

    int sampleRate() const noexcept { return mSampleRate; }
    int channels() const noexcept { return mChannels; }
    double seconds() const noexcept { return mSeconds; }

    // The next read() starts at `seconds` into the recording.
    void seek(double seconds);
    // Appends the next decoded frames to `out` (interleaved); false at the end
    // of the recording (or when the decoder fails, which ends it too).
    bool read(std::vector<float>& out);

private:
    SourceDecoder() = default;
    void finishSeek();

    IMFSourceReader* mReader = nullptr;
    int mSampleRate = 0;
    int mChannels = 0;
    int mBits = 16;
    double mSeconds = 0.0;
    std::int64_t mLeading = 0;       // decoder frames before the sound
    std::int64_t mSoundFrames = -1;  // frames of sound, -1 when unknown
    std::int64_t mWanted = 0;        // recording frame the next read starts at
    std::int64_t mDecoded = -1;      // recording frame of the next decoded frame, -1 after a seek
    bool mSeekPending = false;       // a seek no read has followed yet
};

}  // namespace lirabox::media
