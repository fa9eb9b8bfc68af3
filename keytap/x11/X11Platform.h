#pragma once
// The X11 side of Keytap: its own X connection and thread, XInput2 raw key
// events to see every key press on the desktop without taking it from anyone,
// passive key grabs for the registered combinations, and ClientMessages to the
// target window.

#include "keytap/HookService.h"

namespace keytap {

class X11Platform final : public HookPlatform {
public:
    std::unique_ptr<HookBackend> open(const KeyTable& table, const std::atomic<KeytapWindow>& target) override;
    uint32_t lookUpMessageId() override;
};

}  // namespace keytap
