#include <windows.h>
#include <audioclient.h>
#include <ksmedia.h>
#include <mmdeviceapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "AudioOutput.h"
#include "OutputLead.h"
#include "support/Trace.h"

namespace lirabox::media {
namespace {

// Room for more than the longest lead, so a late playback thread can catch up.
constexpr REFERENCE_TIME kBufferTime = 2000000;  // 200 ms in 100 ns units
constexpr double kLongestLead = 0.08;            // seconds: a key is heard after at most this lead
// Played without a late feed for this long, the lead shrinks by a period.
constexpr double kCalmTime = 30.0;  // seconds

bool isFloat(const WAVEFORMATEX& format) {
    if (format.wFormatTag == WAVE_FORMAT_IEEE_FLOAT) return format.wBitsPerSample == 32;
    if (format.wFormatTag != WAVE_FORMAT_EXTENSIBLE || format.cbSize < 22) return false;
    const auto& extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format);
    return IsEqualGUID(extensible.SubFormat, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT) && format.wBitsPerSample == 32;
}

class WasapiOutput final : public AudioOutput {
public:
    ~WasapiOutput() override {
        if (mClient) mClient->Stop();
        if (mClock) mClock->Release();
        if (mRender) mRender->Release();
        if (mClient) mClient->Release();
    }

    // Empty text when the output is ready, else why not.
    std::string open() {
        IMMDeviceEnumerator* enumerator = nullptr;
        if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator),
                                    nullptr,
                                    CLSCTX_ALL,
                                    __uuidof(IMMDeviceEnumerator),
                                    reinterpret_cast<void**>(&enumerator)))) {
            return "no device enumerator";
        }
        IMMDevice* device = nullptr;
        const HRESULT found = enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device);
        enumerator->Release();
        if (FAILED(found)) return "no default sound device";
        const HRESULT activated =
            device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&mClient));
        device->Release();
        if (FAILED(activated)) return "the sound device cannot be used";
        WAVEFORMATEX* format = nullptr;
        if (FAILED(mClient->GetMixFormat(&format))) return "the sound device has no mix format";
        const bool usable = isFloat(*format);
        mRate = static_cast<int>(format->nSamplesPerSec);
        mChannels = format->nChannels;
        const HRESULT initialised =
            usable ? mClient->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, kBufferTime, 0, format, nullptr) : E_FAIL;
        CoTaskMemFree(format);
        if (!usable) return "the sound device does not mix in float";
        if (FAILED(initialised)) return "the sound device refused the stream";
        UINT32 frames = 0;
        if (FAILED(mClient->GetBufferSize(&frames)) ||
            FAILED(mClient->GetService(__uuidof(IAudioRenderClient), reinterpret_cast<void**>(&mRender))) ||
            FAILED(mClient->GetService(__uuidof(IAudioClock), reinterpret_cast<void**>(&mClock))) ||
            FAILED(mClock->GetFrequency(&mFrequency)) || mFrequency == 0) {
            return "the sound device gives no buffer or clock";
        }
        REFERENCE_TIME period = 0;
        if (FAILED(mClient->GetDevicePeriod(&period, nullptr)) || period <= 0) period = 100000;  // 10 ms
        const auto framesOf = [&](double seconds) { return std::min(frames, static_cast<UINT32>(seconds * mRate)); };
        mLead.emplace(framesOf(kOutputLead),
                      framesOf(kLongestLead),
                      framesOf(static_cast<double>(period) / 1e7),
                      static_cast<std::uint64_t>(kCalmTime * mRate));
        return {};
    }

    int sampleRate() const override { return mRate; }
    int channels() const override { return mChannels; }

    std::size_t writable() override {
        UINT32 queued = 0;
        if (FAILED(mClient->GetCurrentPadding(&queued))) return 0;
        const UINT32 lead = mStarted ? mLead->atFeed(queued, played()) : mLead->frames();
        return queued < lead ? lead - queued : 0;
    }

    void write(const float* samples, std::size_t frames) override {
        BYTE* target = nullptr;
        if (FAILED(mRender->GetBuffer(static_cast<UINT32>(frames), &target))) return;
        std::memcpy(target, samples, frames * static_cast<std::size_t>(mChannels) * sizeof(float));
        mRender->ReleaseBuffer(static_cast<UINT32>(frames), 0);
    }

    std::uint64_t played() override {
        UINT64 position = 0;
        if (FAILED(mClock->GetPosition(&position, nullptr))) return 0;
        return static_cast<std::uint64_t>(static_cast<double>(position) * mRate / static_cast<double>(mFrequency));
    }

    void start() override {
        mClient->Start();
        mStarted = true;
    }
    void pause() override {
        mClient->Stop();
        mStarted = false;
    }
    void reset() override {
        pause();
        mClient->Reset();
    }

private:
    IAudioClient* mClient = nullptr;
    IAudioRenderClient* mRender = nullptr;
    IAudioClock* mClock = nullptr;
    UINT64 mFrequency = 0;
    std::optional<OutputLead> mLead;
    bool mStarted = false;
    int mRate = 0;
    int mChannels = 0;
};

}  // namespace

std::unique_ptr<AudioOutput> openWasapiOutput() {
    auto output = std::make_unique<WasapiOutput>();
    if (const std::string problem = output->open(); !problem.empty()) {
        trace("sound output: " + problem + "; playing on a silent clock");
        return nullptr;
    }
    return output;
}

}  // namespace lirabox::media
