#pragma once
// The selection of the program in front, read through the clipboard: once
// the user has let go of Shift, Ctrl, Alt and the Windows keys, Ctrl+C is
// sent to it, the copied text is read as soon as the clipboard changes (at
// most kCopyWait later), and the clipboard gets back what it held before
// (every format that is global memory; a bitmap or metafile there is lost).
// A read asked for while one is running gives the empty text.

#include "player/SelectionReader.h"

#include <chrono>
#include <cstdint>
#include <memory>

namespace lirabox::win32 {

inline constexpr std::chrono::milliseconds kKeysUpWait {1000};
inline constexpr std::chrono::milliseconds kCopyWait {500};

// `window` owns the clipboard while it is read and restored.
std::unique_ptr<SelectionReader> clipboardSelectionReader(std::uintptr_t window);

}  // namespace lirabox::win32
