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

KEYTAP_API int32_t KEYTAP_CALL InitHook(KeytapWindow window);
KEYTAP_API int32_t KEYTAP_CALL TerminateHook(void);
KEYTAP_API int32_t KEYTAP_CALL RegistKey(const ShortcutKeyRecord* record);
KEYTAP_API int32_t KEYTAP_CALL UnRegistKey(int32_t slot);
KEYTAP_API uint32_t KEYTAP_CALL GetMessageID_KeyBoard(void);

#ifdef __cplusplus
}
static_assert(sizeof(ShortcutKeyRecord) == 16, "ShortcutKeyRecord is four 32-bit integers");
#endif
