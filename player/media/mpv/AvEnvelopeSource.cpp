// The envelope's reader on Linux: libavformat and libavcodec, the libraries
// libmpv itself decodes with. Sound is decoded as it comes (planar or packed,
// integer or float) and only its power is kept; nothing is resampled.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <utility>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "player/media/EnvelopeSource.h"

namespace lirabox::media {
namespace {

// How far a read may start before the end of the last (a frame's overlap)
// or after it (cheaper decoded through than sought) and still decode on.
constexpr double kOverlap = 0.2;
constexpr double kDecodeOn = 1.0;
// MP3s at least this long (seconds) are sought by bytes: where a variable bit
// rate puts a byte seek a few seconds off, that is less than a pixel of the
// bar, and a timestamp seek costs ten times the decoding of a probe.
constexpr double kByteSeekFrom = 20 * 60;

// The power of one decoded frame: the sum of its squared samples (-1 .. 1)
// and how many there were.
struct Power {
    double sum = 0.0;
    std::int64_t count = 0;
};

template <typename Sample>
void addSamples(Power& power, const std::uint8_t* data, int from, int to, double scale, double offset = 0.0) {
    const auto* samples = reinterpret_cast<const Sample*>(data);
    for (int i = from; i < to; ++i) {
        const double value = (static_cast<double>(samples[i]) - offset) * scale;
        power.sum += value * value;
    }
    power.count += to - from;
}

// Adds the frame's samples `from` .. `to` (counted in frames, every channel).
void addFrame(Power& power, const AVFrame& frame, int from, int to) {
    const auto format = static_cast<AVSampleFormat>(frame.format);
    const int channels = frame.ch_layout.nb_channels;
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    const int planes = planar ? channels : 1;
    const int step = planar ? 1 : channels;
    for (int plane = 0; plane < planes; ++plane) {
        const std::uint8_t* data = frame.extended_data[plane];
        const int first = from * step, last = to * step;
        switch (av_get_packed_sample_fmt(format)) {
        case AV_SAMPLE_FMT_U8: addSamples<std::uint8_t>(power, data, first, last, 1.0 / 128.0, 128.0); break;
        case AV_SAMPLE_FMT_S16: addSamples<std::int16_t>(power, data, first, last, 1.0 / 32768.0); break;
        case AV_SAMPLE_FMT_S32: addSamples<std::int32_t>(power, data, first, last, 1.0 / 2147483648.0); break;
        case AV_SAMPLE_FMT_FLT: addSamples<float>(power, data, first, last, 1.0); break;
        case AV_SAMPLE_FMT_DBL: addSamples<double>(power, data, first, last, 1.0); break;
        default: return;  // 64-bit integers: no recording of ours holds them
        }
    }
}

class AvEnvelopeSource final : public EnvelopeSource {
public:
    ~AvEnvelopeSource() override {
        av_frame_free(&mFrame);
        av_packet_free(&mPacket);
        avcodec_free_context(&mCodec);
        avformat_close_input(&mFormat);
    }

    bool open(const std::string& path) {
        if (avformat_open_input(&mFormat, path.c_str(), nullptr, nullptr) < 0) return false;
        if (avformat_find_stream_info(mFormat, nullptr) < 0) return false;
        const AVCodec* decoder = nullptr;
        mStream = av_find_best_stream(mFormat, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
        if (mStream < 0 || decoder == nullptr) return false;
        const AVStream* stream = mFormat->streams[mStream];
        mCodec = avcodec_alloc_context3(decoder);
        if (mCodec == nullptr || avcodec_parameters_to_context(mCodec, stream->codecpar) < 0) return false;
        mCodec->thread_count = 1;
        if (avcodec_open2(mCodec, decoder, nullptr) < 0) return false;
        mPacket = av_packet_alloc();
        mFrame = av_frame_alloc();
        if (mPacket == nullptr || mFrame == nullptr) return false;
        // Every stream but the sound is dropped unread.
        for (unsigned i = 0; i < mFormat->nb_streams; ++i) {
            if (static_cast<int>(i) != mStream) mFormat->streams[i]->discard = AVDISCARD_ALL;
        }
        mTimeBase = av_q2d(stream->time_base);
        if (mFormat->duration > 0) {
            mSeconds = static_cast<double>(mFormat->duration) / AV_TIME_BASE;
        } else if (stream->duration > 0) {
            mSeconds = static_cast<double>(stream->duration) * mTimeBase;
        }
        const std::int64_t size = avio_size(mFormat->pb);
        if (std::string_view(mFormat->iformat->name) == "mp3" && mFormat->bit_rate > 0 && size > 0 &&
            mSeconds >= kByteSeekFrom) {
            mByteRate = static_cast<double>(mFormat->bit_rate) / 8.0;
            mDataStart = std::max<std::int64_t>(0, size - static_cast<std::int64_t>(mSeconds * mByteRate));
        }
        return mSeconds > 0.0;
    }

    double seconds() const override { return mSeconds; }

    std::optional<double> meanSquare(double at, double span) override {
        // A read that starts at or just after where the last one ended decodes
        // on (what lies between is skipped); any other seeks and drops the
        // first frame, which may lean on data before the seek (an MP3 frame's
        // bit reservoir).
        bool dropFirst = false;
        if (at < mNext - kOverlap || at > mNext + kDecodeOn) {
            if (!seek(at)) return std::nullopt;
            avcodec_flush_buffers(mCodec);
            drop();
            dropFirst = true;
        }
        // Only the samples inside the stretch count; a frame that reaches
        // past its end is held for the next read.
        Power power;
        double reached = at;
        while (reached < at + span) {
            if (!mHeld) {
                const int received = avcodec_receive_frame(mCodec, mFrame);
                if (received == AVERROR(EAGAIN)) {
                    if (!sendNextPacket()) break;
                    continue;
                }
                if (received < 0) break;
                mHeld = true;
                mHeldStart = startOf(*mFrame, reached);
                if (std::exchange(dropFirst, false)) {
                    drop();
                    continue;
                }
            }
            const double rate = mFrame->sample_rate > 0 ? mFrame->sample_rate : 1.0;
            const double end = mHeldStart + mFrame->nb_samples / rate;
            const auto sampleAt = [&](double seconds) {
                return static_cast<int>(
                    std::clamp<long>(std::lround((seconds - mHeldStart) * rate), 0L, mFrame->nb_samples));
            };
            const int from = sampleAt(at), to = sampleAt(at + span);
            if (to > from) addFrame(power, *mFrame, from, to);
            reached = std::max(reached, std::min(end, at + span));
            if (end > at + span) break;
            drop();
        }
        mNext = reached;
        if (power.count == 0) return std::nullopt;
        return power.sum / static_cast<double>(power.count);
    }

private:
    // A long MP3 is sought by bytes, where the time's share of the file lies
    // (libavformat resyncs on the next frame); frames read after it are taken
    // to start there.
    bool seek(double at) {
        if (mByteRate > 0.0) {
            const auto position = mDataStart + static_cast<std::int64_t>(at * mByteRate);
            if (av_seek_frame(mFormat, -1, position, AVSEEK_FLAG_BYTE) >= 0) {
                mClock = at;
                return true;
            }
        }
        const auto target = static_cast<std::int64_t>(at / mTimeBase);
        return av_seek_frame(mFormat, mStream, target, AVSEEK_FLAG_BACKWARD) >= 0;
    }

    // Where a decoded frame starts: counted on from the last byte seek, or its timestamp.
    double startOf(const AVFrame& frame, double reached) {
        if (mByteRate > 0.0) {
            const double start = mClock;
            mClock += frame.sample_rate > 0 ? static_cast<double>(frame.nb_samples) / frame.sample_rate : 0.0;
            return start;
        }
        return frame.pts != AV_NOPTS_VALUE ? static_cast<double>(frame.pts) * mTimeBase : reached;
    }

    void drop() {
        av_frame_unref(mFrame);
        mHeld = false;
    }

    bool sendNextPacket() {
        while (av_read_frame(mFormat, mPacket) >= 0) {
            const bool ours = mPacket->stream_index == mStream;
            const bool sent = ours && avcodec_send_packet(mCodec, mPacket) >= 0;
            av_packet_unref(mPacket);
            if (sent) return true;
        }
        return false;
    }

    AVFormatContext* mFormat = nullptr;
    AVCodecContext* mCodec = nullptr;
    AVPacket* mPacket = nullptr;
    AVFrame* mFrame = nullptr;
    int mStream = -1;
    double mTimeBase = 0.0;
    double mSeconds = 0.0;
    // Where the last read ended; none yet, so the first read seeks.
    double mNext = -std::numeric_limits<double>::infinity();
    // A long MP3 is sought by bytes: its bytes a second, where its frames
    // begin, and the recording time the next decoded frame starts at.
    double mByteRate = 0.0;
    std::int64_t mDataStart = 0;
    double mClock = 0.0;
    bool mHeld = false;  // mFrame holds a decoded frame, starting at mHeldStart seconds
    double mHeldStart = 0.0;
};

}  // namespace

std::unique_ptr<EnvelopeSource> openEnvelopeSource(const std::string& path) {
    auto source = std::make_unique<AvEnvelopeSource>();
    if (!source->open(path)) return nullptr;
    return source;
}

}  // namespace lirabox::media
