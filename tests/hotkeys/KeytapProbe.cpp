// A stand-in Keytap for the binding's tests: it writes every call into a log
// the test reads through ProbeLog. Built a second time without RegistKey.
#include "keytap/Keytap.h"

#include <string>

namespace {
std::string gLog;
}  // namespace

extern "C" {
KEYTAP_API int32_t InitHook(KeytapWindow window) {
    gLog += "InitHook(" + std::to_string(window) + ")";
    return 1;
}
KEYTAP_API int32_t TerminateHook() {
    gLog += "TerminateHook()";
    return 1;
}
#ifndef KEYTAP_PROBE_WITHOUT_REGISTKEY
KEYTAP_API int32_t RegistKey(const ShortcutKeyRecord* record) {
    gLog += "RegistKey(" + std::to_string(record->ID) + "," + std::to_string(record->KeyCode) + "," +
            std::to_string(record->ShiftStatus) + "," + std::to_string(record->KeyDestroy) + ")";
    return 1;
}
#endif
KEYTAP_API const char* ProbeLog() { return gLog.c_str(); }
}
