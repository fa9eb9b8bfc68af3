#pragma once
// The desktop services clsCommonUtil stands on: keeping a window above the
// others, opening a document or starting a program, and the computer's name.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace lirabox {

// Results of open() below, following the convention of the shell call it
// replaces: above 32 is success, 32 or less tells the failure.
inline constexpr std::int32_t kOpenSucceeded = 33;
inline constexpr std::int32_t kOpenOutOfResources = 0;
inline constexpr std::int32_t kOpenFileNotFound = 2;
inline constexpr std::int32_t kOpenPathNotFound = 3;
inline constexpr std::int32_t kOpenAccessDenied = 5;
inline constexpr std::int32_t kOpenBadFormat = 11;
inline constexpr std::int32_t kOpenNoAssociation = 31;

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // Puts the window (native handle) into or out of the "always above" state,
    // without moving, resizing, hiding or activating it. Failures are silent.
    virtual void setWindowAbove(std::uintptr_t window, bool above) = 0;

    // Starts `file` with `parameters` when it is a program, or opens it (a
    // document, folder or URL) with the desktop's handler; never waits for it
    // and never hands any of the text to a shell. `showMode` is the caller's
    // wish for the first window of what is started.
    //
    // Some desktops tell only later that nothing could show a document (their
    // opener starts, finds no viewer and ends with a failure): `failedLater`,
    // when given, is then called once, on a thread of its own. It is never
    // called when open() has already returned a failure, nor where failures
    // are known at once.
    virtual std::int32_t open(const std::string& file, const std::string& parameters, std::int32_t showMode,
                              std::function<void()> failedLater) = 0;

    // The computer's network name; empty when it cannot be told.
    virtual std::string hostName() = 0;
};

// The services of the desktop the program runs on.
std::shared_ptr<DesktopServices> systemDesktopServices();

}  // namespace lirabox
