#pragma once
// One shortcut-key row of "config.ini" (sections ID00 .. ID09), read and
// written the same way by the main window's switch-on and the settings dialog.

#include "keytap/Keytap.h"

namespace lirabox {

class clsIniFile;

// Reads ID (default -1), KeyCode, KeyDestroy and ShiftStatus (default 0), in
// that order; a missing key of the first eight rows is written back with its
// default, one of the later rows is not. Raises when a stored value is not a 32-bit
// number.
ShortcutKeyRecord readShortcutKeyRow(clsIniFile& ini, int index);

// Whether saving writes the row: always for the first eight rows; a later one
// once it holds a key or was stored before.
bool shortcutKeyRowToKeep(int index, const ShortcutKeyRecord& record);

// Writes ID = index, KeyCode, KeyDestroy and ShiftStatus, in that order.
// False when a write failed (the later keys are still tried).
bool writeShortcutKeyRow(clsIniFile& ini, int index, const ShortcutKeyRecord& record);

}  // namespace lirabox
