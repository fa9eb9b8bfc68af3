#pragma once
// Publishing the playing position to the outside library Timepost.
//
// The library is libtimepost.so (Timepost.dll on Windows) and exports
//     extern "C" int32_t SetTime(double seconds);   (__stdcall on Windows)
// (the result is not used). It is loaded at the first SetTime, first from the
// program's own folder, then through the usual library search. A missing
// library or symbol makes every SetTime a no-op; the lookup is made only once.

#include <cstdint>

#include "timepost/Timepost.h"
#include <string>
#include <vector>

namespace lirabox {

class TimepostSink {
public:
    virtual ~TimepostSink() = default;
    virtual void SetTime(double seconds) = 0;
};

class TimepostLibrary final : public TimepostSink {
public:
    using SetTimeFunction = std::int32_t(TIMEPOST_CALL*)(double);

    // Beside the executable, then libtimepost.so / Timepost.dll by the usual search.
    TimepostLibrary();
    // The given library paths, tried in order (a name without "/" is searched for).
    explicit TimepostLibrary(std::vector<std::string> candidates);
    ~TimepostLibrary() override;
    TimepostLibrary(const TimepostLibrary&) = delete;
    TimepostLibrary& operator=(const TimepostLibrary&) = delete;

    void SetTime(double seconds) override;

    // Whether the library and its SetTime were found (binds on first use).
    bool isBound();

    static std::vector<std::string> defaultCandidates();

private:
    void bind();

    std::vector<std::string> mCandidates;
    bool mBindTried = false;
    void* mHandle = nullptr;
    SetTimeFunction mSetTime = nullptr;
};

}  // namespace lirabox
