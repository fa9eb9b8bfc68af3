#pragma once
// Why the system refused Keytap's keyboard hook, in the user's terms: each
// system's backend says it its own way.

#include "support/UiText.h"

namespace lirabox::hotkeys {

UiText hookRefusalReason();

}  // namespace lirabox::hotkeys
