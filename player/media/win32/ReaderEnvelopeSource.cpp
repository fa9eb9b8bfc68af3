// The envelope's reader on Windows: a Source Reader of its own (SourceDecoder),
// with COM and Media Foundation started for as long as it lives on the
// thread that opened it.

#include <mfapi.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "SourceDecoder.h"
#include "player/media/EnvelopeSource.h"

namespace lirabox::media {
namespace {

// How far a read may start before the end of the last or after it and still
// decode on instead of seeking.
constexpr double kOverlap = 0.2;
constexpr double kDecodeOn = 1.0;

class ReaderEnvelopeSource final : public EnvelopeSource {
public:
    ReaderEnvelopeSource()
        : mCom(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))),
          mMediaFoundation(SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE))) {}
    ~ReaderEnvelopeSource() override {
        mDecoder.reset();
        if (mMediaFoundation) MFShutdown();
        if (mCom) CoUninitialize();
    }

    bool open(const std::string& path) {
        SourceDecoder::Failure failure;
        std::string reason;
        mDecoder = SourceDecoder::open(path, failure, reason);
        return mDecoder && mDecoder->seconds() > 0.0;
    }

    double seconds() const override { return mDecoder->seconds(); }

    std::optional<double> meanSquare(double at, double span) override {
        const double rate = mDecoder->sampleRate();
        const auto channels = static_cast<std::size_t>(mDecoder->channels());
        if (at < mNext - kOverlap || at > mNext + kDecodeOn) {
            mDecoder->seek(at);
            mCarry.clear();
            mNext = at;
        }
        // Frames between the last read's end and this one's start are skipped.
        auto skip = static_cast<std::size_t>(std::max(0.0, (at - mNext) * rate)) * channels;
        auto wanted = static_cast<std::size_t>(std::max(1.0, span * rate)) * channels;
        double sum = 0.0;
        std::size_t count = 0;
        while (wanted > 0) {
            if (mCarry.empty() && !mDecoder->read(mCarry)) break;
            const std::size_t dropped = std::min(skip, mCarry.size());
            skip -= dropped;
            const std::size_t taken = std::min(wanted, mCarry.size() - dropped);
            for (std::size_t i = dropped; i < dropped + taken; ++i) sum += static_cast<double>(mCarry[i]) * mCarry[i];
            count += taken;
            wanted -= taken;
            mCarry.erase(mCarry.begin(), mCarry.begin() + static_cast<std::ptrdiff_t>(dropped + taken));
            mNext += static_cast<double>((dropped + taken) / channels) / rate;
        }
        if (count == 0) return std::nullopt;
        return sum / static_cast<double>(count);
    }

private:
    bool mCom;
    bool mMediaFoundation;
    std::unique_ptr<SourceDecoder> mDecoder;
    std::vector<float> mCarry;  // decoded frames not read yet, from mNext on
    // The recording position of mCarry's first frame; none yet, so the first read seeks.
    double mNext = -std::numeric_limits<double>::infinity();
};

}  // namespace

std::unique_ptr<EnvelopeSource> openEnvelopeSource(const std::string& path) {
    auto source = std::make_unique<ReaderEnvelopeSource>();
    if (!source->open(path)) return nullptr;
    return source;
}

}  // namespace lirabox::media
