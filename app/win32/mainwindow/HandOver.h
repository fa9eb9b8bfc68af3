#pragma once
// A second start's recording, handed to the running copy's main window as a
// WM_COPYDATA message: the start second (32 bits) and the recording's full
// path in UTF-8. The second start sends it (WindowMessageRunningCopy); the
// running copy's main window reads it (handedOverRecording) and opens the
// recording once the message has been answered.

#include "player/RunningCopy.h"

#include <cstdint>
#include <optional>
#include <string>

#include <windows.h>

namespace lirabox::win32 {

struct HandedOverRecording {
    std::string path;
    std::int32_t start = 0;
};

// The recording a WM_COPYDATA message carries; nothing for any other data.
std::optional<HandedOverRecording> handedOverRecording(const COPYDATASTRUCT& data);

// The main window (class className) of another process running the same
// executable, in this desktop.
class WindowMessageRunningCopy final : public RunningCopy {
public:
    explicit WindowMessageRunningCopy(const wchar_t* className) : mClassName(className) {}
    bool handOver(const std::string& path, std::int32_t start) override;

private:
    const wchar_t* mClassName;
};

}  // namespace lirabox::win32
