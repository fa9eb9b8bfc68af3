#pragma once
// The player's slider pictures drawn with GDI at whatever size the DPI gives
// them, in the Qt window's shapes and colours: the seek bar's groove, the
// volume wedge, the arrow, the repeat line and the loudness envelope.

#include <vector>

#include <windows.h>

namespace lirabox::win32::art {

using Painter = void (*)(HDC context, const RECT& area);

void paintSeekTrack(HDC context, const RECT& area);
void paintVolumeTrack(HDC context, const RECT& area);
void paintArrow(HDC context, const RECT& area);
// A line along the bottom edge of the bar from x1 to x2 (pixels).
void paintRepeatLine(HDC context, const RECT& bar, int x1, int x2);
// The loudness envelope, one level a pixel column of `bar` (slider_look::envelopeLine).
void paintEnvelope(HDC context, const RECT& bar, const std::vector<float>& levels);

}  // namespace lirabox::win32::art
