#include "X11Platform.h"
#include "keytap/HookService.h"

namespace keytap {

// Never destroyed: the watcher thread may still run while the process exits.
HookPlatform& systemHookPlatform() {
    static auto* platform = new X11Platform;
    return *platform;
}

HookStorage& systemHookStorage() {
    static constinit HookStorage storage;
    return storage;
}

}  // namespace keytap
