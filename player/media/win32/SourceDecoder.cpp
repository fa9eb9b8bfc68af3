#include "SourceDecoder.h"

#include <windows.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mfreadwrite.h>
#include <propvarutil.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "Mp3Delay.h"

namespace lirabox::media {
namespace {

constexpr DWORD kAudio = static_cast<DWORD>(MF_SOURCE_READER_FIRST_AUDIO_STREAM);
constexpr double kTicksPerSecond = 1e7;  // Media Foundation times are in 100 ns
constexpr double kLeadInSeconds = 0.25;  // decoded and dropped before a seek's place: a few codec frames

template <class T>
struct Released {
    T* pointer = nullptr;
    ~Released() {
        if (pointer) pointer->Release();
    }
    T** operator&() { return &pointer; }
    T* operator->() const { return pointer; }
};

std::wstring wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(std::max(length, 1)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), length);
    result.resize(std::wcslen(result.c_str()));
    return result;
}

}  // namespace

std::unique_ptr<SourceDecoder> SourceDecoder::open(const std::string& path, Failure& failure, std::string& reason) {
    std::unique_ptr<SourceDecoder> decoder(new SourceDecoder());
    failure = Failure::CannotOpen;
    if (FAILED(MFCreateSourceReaderFromURL(wide(path).c_str(), nullptr, &decoder->mReader))) {
        reason = "the file cannot be opened: " + path;
        return nullptr;
    }
    failure = Failure::NotPlayable;
    reason = "the file holds no sound that can be played: " + path;
    IMFSourceReader* reader = decoder->mReader;
    reader->SetStreamSelection(static_cast<DWORD>(MF_SOURCE_READER_ALL_STREAMS), FALSE);
    if (FAILED(reader->SetStreamSelection(kAudio, TRUE))) return nullptr;

    Released<IMFMediaType> wanted;
    if (FAILED(MFCreateMediaType(&wanted))) return nullptr;
    wanted->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
    wanted->SetGUID(MF_MT_SUBTYPE, MFAudioFormat_PCM);
    if (FAILED(reader->SetCurrentMediaType(kAudio, nullptr, wanted.pointer))) return nullptr;
    Released<IMFMediaType> actual;
    if (FAILED(reader->GetCurrentMediaType(kAudio, &actual))) return nullptr;
    UINT32 rate = 0, channels = 0, bits = 0;
    actual->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate);
    actual->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels);
    actual->GetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, &bits);
    if (rate < 1000 || rate > 384000 || channels < 1 || channels > 8 ||
        (bits != 16 && bits != 8 && bits != 32 && bits != 24)) {
        return nullptr;
    }
    decoder->mSampleRate = static_cast<int>(rate);
    decoder->mChannels = static_cast<int>(channels);
    decoder->mBits = static_cast<int>(bits);

    PROPVARIANT duration;
    PropVariantInit(&duration);
    if (SUCCEEDED(reader->GetPresentationAttribute(
            static_cast<DWORD>(MF_SOURCE_READER_MEDIASOURCE), MF_PD_DURATION, &duration)) &&
        duration.vt == VT_UI8) {
        decoder->mSeconds = static_cast<double>(duration.uhVal.QuadPart) / kTicksPerSecond;
    }
    PropVariantClear(&duration);

    if (const auto mp3 = readMp3Delay(path)) {
        decoder->mLeading = mp3->leading;
        if (mp3->soundFrames && *mp3->soundFrames > 0) {
            decoder->mSoundFrames = *mp3->soundFrames;
            decoder->mSeconds = static_cast<double>(*mp3->soundFrames) / rate;
        } else {
            decoder->mSeconds = std::max(decoder->mSeconds - static_cast<double>(mp3->leading) / rate, 0.0);
        }
    }
    // Wine's source decodes ahead before the reader starts it, and its WMA
    // decoder adds the end of the last frame it decoded to the first block after
    // the start: the recording's first block could sound like any part of it.
    // Started once more from the beginning, the decoder only holds the end of
    // one of the recording's first frames.
    std::vector<float> firstBlock;
    decoder->read(firstBlock);
    decoder->seek(0.0);
    failure = Failure::None;
    reason.clear();
    return decoder;
}

SourceDecoder::~SourceDecoder() {
    if (!mReader) return;
    finishSeek();
    mReader->Release();
}

// Wine's source crashes when the reader's release shuts it down while it is
// still carrying out a seek on its own thread, and its reader may deliver
// nothing more after a seek asked for while another was under way: a seek no
// read has followed is waited for with one.
void SourceDecoder::finishSeek() {
    if (!mSeekPending) return;
    DWORD flags = 0;
    LONGLONG timestamp = 0;
    Released<IMFSample> sample;
    mReader->ReadSample(kAudio, 0, nullptr, &flags, &timestamp, &sample);
    mSeekPending = false;
}

void SourceDecoder::seek(double seconds) {
    finishSeek();
    mWanted = std::max<std::int64_t>(std::llround(seconds * mSampleRate), 0);
    mDecoded = -1;
    // The first block after a seek may carry what the decoder held from before
    // it (Wine's WMA decoder adds the end of the last frame it decoded), so the
    // reader starts a little early; read() drops the frames up to the place
    // asked for, as it does when the reader lands early at a frame start.
    const double decoderSeconds = std::max(static_cast<double>(mWanted + mLeading) / mSampleRate - kLeadInSeconds, 0.0);
    PROPVARIANT position;
    InitPropVariantFromInt64(static_cast<LONGLONG>(decoderSeconds * kTicksPerSecond), &position);
    mReader->SetCurrentPosition(GUID_NULL, position);
    mSeekPending = true;
    PropVariantClear(&position);
}

bool SourceDecoder::read(std::vector<float>& out) {
    while (true) {
        if (mSoundFrames >= 0 && mDecoded >= mSoundFrames) return false;
        DWORD flags = 0;
        LONGLONG timestamp = 0;
        Released<IMFSample> sample;
        const HRESULT result = mReader->ReadSample(kAudio, 0, nullptr, &flags, &timestamp, &sample);
        mSeekPending = false;
        if (FAILED(result)) return false;
        if (flags & (MF_SOURCE_READERF_ENDOFSTREAM | MF_SOURCE_READERF_ERROR)) return false;
        if (!sample.pointer) continue;
        Released<IMFMediaBuffer> buffer;
        if (FAILED(sample->ConvertToContiguousBuffer(&buffer))) return false;
        BYTE* bytes = nullptr;
        DWORD length = 0;
        if (FAILED(buffer->Lock(&bytes, nullptr, &length))) return false;

        const std::size_t bytesPerFrame = static_cast<std::size_t>(mBits / 8 * mChannels);
        const auto frames = static_cast<std::int64_t>(length / bytesPerFrame);
        // The first block after a seek says where the reader landed.
        if (mDecoded < 0) {
            mDecoded = std::llround(static_cast<double>(timestamp) / kTicksPerSecond * mSampleRate) - mLeading;
        }
        std::int64_t first = std::clamp<std::int64_t>(mWanted - mDecoded, 0, frames);
        std::int64_t last = frames;
        if (mSoundFrames >= 0) last = std::clamp<std::int64_t>(mSoundFrames - mDecoded, first, frames);
        const std::size_t values = static_cast<std::size_t>(last - first) * static_cast<std::size_t>(mChannels);
        const BYTE* from = bytes + static_cast<std::size_t>(first) * bytesPerFrame;
        const std::size_t start = out.size();
        out.resize(start + values);
        for (std::size_t i = 0; i < values; ++i) {
            float value = 0.0f;
            switch (mBits) {
            case 8: value = (static_cast<float>(from[i]) - 128.0f) / 128.0f; break;
            case 16: {
                std::int16_t s;
                std::memcpy(&s, from + 2 * i, 2);
                value = static_cast<float>(s) / 32768.0f;
                break;
            }
            case 24: {
                const std::int32_t s = static_cast<std::int32_t>((std::uint32_t {from[3 * i]} << 8) |
                                                                 (std::uint32_t {from[3 * i + 1]} << 16) |
                                                                 (std::uint32_t {from[3 * i + 2]} << 24));
                value = static_cast<float>(s) / 2147483648.0f;
                break;
            }
            default: {
                std::int32_t s;
                std::memcpy(&s, from + 4 * i, 4);
                value = static_cast<float>(s) / 2147483648.0f;
                break;
            }
            }
            out[start + i] = value;
        }
        buffer->Unlock();
        mDecoded += frames;
        mWanted = std::max(mWanted, mDecoded);
        if (values > 0) return true;
    }
}

}  // namespace lirabox::media
