#pragma once
/* Keytap: system-wide shortcut keys for one target window.
 *
 * The player calls InitHook with its main window, registers up to sixteen
 * keys, and receives the registered message "KVL_MESSAGE_PROC" whenever a
 * registered key goes down anywhere on the desktop:
 *   wParam = slot number (0..15)
 *   lParam = modifier code (Shift 1 + Ctrl 2 + Alt 4) << 16 | virtual-key code
 * On X11 the window is an X window id, the message an X atom, and the post a
 * ClientMessage of format 32 with wParam in data.l[0] and lParam in data.l[1].
 * On Windows the window is an HWND and the post a PostMessageA.
 *
 * Threads and processes: the five functions are called by the player's
 * process, from any one thread at a time or from several (each call takes the
 * library's lock); none calls back into the caller, so a call may be made from
 * anywhere, even while another is under way on another thread. The watching
 * runs elsewhere and never takes that lock:
 *   X11:     a thread of the library's own inside the player's process reads
 *            XInput 2 raw key events; swallowed keys are passive grabs, held
 *            only while a record with KeyDestroy is registered.
 *   Windows: a WH_KEYBOARD hook procedure runs inside every process that
 *            receives keyboard input, reading the table from a data section
 *            all of them share.
 * A message is posted, never sent: the watcher never waits for the player.
 * Ownership: records are copied; the caller keeps what it passes. The library
 * keeps no pointer to caller memory.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define KEYTAP_API /* exported through Keytap.def, under plain names */
#define KEYTAP_CALL __stdcall
#else
#define KEYTAP_API __attribute__((visibility("default")))
#define KEYTAP_CALL
#endif

typedef struct ShortcutKeyRecord {
    int32_t ID;          /* slot 0..15; -1 = free */
    int32_t KeyCode;     /* virtual-key code */
    int32_t ShiftStatus; /* Shift 1 + Ctrl 2 + Alt 4; low 8 bits are matched */
    int32_t KeyDestroy;  /* non-zero: a matched key-down is swallowed */
} ShortcutKeyRecord;

#define KEYTAP_SLOTS 16
#define KEYTAP_MESSAGE_NAME "KVL_MESSAGE_PROC"

typedef uintptr_t KeytapWindow;

/* Starts watching the desktop's keys for `window`, with an empty table.
 * Returns 1 when watching, 0 when the desktop refuses (no X display with
 * XInput 2, no hook allowed). A second call replaces the running watcher (the
 * table is emptied again), so keys are never posted twice. */
KEYTAP_API int32_t KEYTAP_CALL InitHook(KeytapWindow window);

/* Stops watching and lets go of every grab. Returns 1 when a watcher was
 * running, 0 otherwise. Once it returns, nothing more is posted. */
KEYTAP_API int32_t KEYTAP_CALL TerminateHook(void);

/* Stores a copy of `*record` in slot record->ID (0..15), replacing what the
 * slot held; the watcher uses it before this returns. Returns 1 when stored,
 * 0 for a null pointer or a slot out of range. Works before InitHook too (the
 * table is emptied by InitHook). */
KEYTAP_API int32_t KEYTAP_CALL RegistKey(const ShortcutKeyRecord* record);

/* Frees slot `slot` (0..15). Returns 1 when freed, 0 for a slot out of range. */
KEYTAP_API int32_t KEYTAP_CALL UnRegistKey(int32_t slot);

/* The number of the message "KVL_MESSAGE_PROC" the player receives (an X atom
 * on X11, a registered window message on Windows); 0 when the desktop gives
 * none (no X display). The same number for every call in a session. */
KEYTAP_API uint32_t KEYTAP_CALL GetMessageID_KeyBoard(void);

#ifdef __cplusplus
}
static_assert(sizeof(ShortcutKeyRecord) == 16, "ShortcutKeyRecord is four 32-bit integers");
#endif
