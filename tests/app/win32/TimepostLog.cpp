// A Timepost.dll that logs every call: one line per SetTime, appended to the
// file named by %LIRABOX_TIMEPOST_LOG%, "<milliseconds since boot> <seconds>".
// Tests put it beside lirabox.exe under the name Timepost.dll.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <windows.h>

extern "C" __declspec(dllexport) std::int32_t __stdcall SetTime(double seconds) {
    LARGE_INTEGER now {}, frequency {};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    const char* path = std::getenv("LIRABOX_TIMEPOST_LOG");
    if (path == nullptr || path[0] == '\0') return EINVAL;
    std::FILE* log = std::fopen(path, "ab");
    if (log == nullptr) return EIO;
    const double milliseconds = static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
    const bool written = std::fprintf(log, "%.3f %.6f\n", milliseconds, seconds) > 0;
    return std::fclose(log) == 0 && written ? 0 : EIO;
}
