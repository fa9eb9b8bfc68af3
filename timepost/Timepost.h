#pragma once
/* Timepost: receives the player's position ten times a second while it plays,
 * and once whenever the position changes while it does not (stop, seek, load).
 *
 * This reference library makes the position available to other programs as a
 * small text file, replaced atomically on every call:
 *     $XDG_RUNTIME_DIR/lirabox/position      (or /tmp/lirabox-<uid>/position)
 *     %LOCALAPPDATA%\\lirabox\\position         on Windows
 * holding one line: the seconds with three decimals, a blank, and the time as
 * hh:mm:ss (whole seconds, cut), e.g. "90.100 00:01:30\n".
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define TIMEPOST_API /* exported through Timepost.def, under its plain name */
#define TIMEPOST_CALL __stdcall
#else
#define TIMEPOST_API __attribute__((visibility("default")))
#define TIMEPOST_CALL
#endif

/* Publishes the position. Returns 0 on success, otherwise an errno value
 * (EINVAL for a position that is not a finite number). */
TIMEPOST_API int32_t TIMEPOST_CALL SetTime(double seconds);

#ifdef __cplusplus
}
#endif
