#include "SoundLibraryMessages.h"

#include "support/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <dlfcn.h>

namespace lirabox::media {
namespace {

// ALSA's snd_lib_error_handler_t and snd_lib_error_set_handler(), looked up at
// run time so the build needs no ALSA headers.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler handler);

void traceAlsaMessage(const char* file, int line, const char* function, int, const char* format, ...) {
    char message[512] = {};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    trace(std::string("ALSA lib ") + (file != nullptr ? file : "?") + ":" + std::to_string(line) + ":(" +
          (function != nullptr ? function : "?") + ") " + message);
}

// The libasound libmpv was linked with; nothing when it is not loaded, as
// then it cannot print either.
void routeAlsaMessages() {
    void* alsa = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (alsa == nullptr) return;
    if (auto* set = reinterpret_cast<AlsaSetErrorHandler>(::dlsym(alsa, "snd_lib_error_set_handler"))) {
        set(&traceAlsaMessage);
    }
    ::dlclose(alsa);  // only drops the reference taken above: libmpv holds the library
}

}  // namespace

void routeSoundLibraryMessages(bool verbose) {
    static bool routed = false;
    if (routed) return;
    routed = true;
    routeAlsaMessages();
    // PipeWire reads its log level when libmpv first connects; "0" is none.
    if (!verbose) ::setenv("PIPEWIRE_DEBUG", "0", 0);
}

}  // namespace lirabox::media
