#pragma once
// The modifier keys held while the key message being handled was sent.

#include <cstdint>

namespace lirabox::win32 {

// The modifier code: Shift 1 + Ctrl 2 + Alt 4.
std::int32_t modifierKeys();

}  // namespace lirabox::win32
