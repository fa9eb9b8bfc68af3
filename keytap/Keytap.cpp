// The exported functions of libkeytap.so.

#include "Keytap.h"

#include "HookService.h"

namespace {

// Never destroyed: the watcher thread may still run while the process exits.
keytap::HookService& service() {
    static auto* hookService = new keytap::HookService(keytap::systemHookPlatform(), keytap::systemHookStorage());
    return *hookService;
}

}  // namespace

extern "C" {

KEYTAP_API int32_t KEYTAP_CALL InitHook(KeytapWindow window) { return service().initHook(window); }

KEYTAP_API int32_t KEYTAP_CALL TerminateHook(void) { return service().terminateHook(); }

KEYTAP_API int32_t KEYTAP_CALL RegistKey(const ShortcutKeyRecord* record) { return service().registKey(record); }

KEYTAP_API int32_t KEYTAP_CALL UnRegistKey(int32_t slot) { return service().unRegistKey(slot); }

KEYTAP_API uint32_t KEYTAP_CALL GetMessageID_KeyBoard(void) { return service().messageId(); }

}  // extern "C"
