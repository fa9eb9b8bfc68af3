#!/usr/bin/env bash
# Global key -> sound for the Windows build under Wine: the measure of
# bench/keysound.sh (bench/player/key_to_sound.py on a private PulseAudio null
# sink's monitor, XTEST key presses, CYCLES presses of each key, 40 by default,
# once on the machine as it is and once with both cores kept busy), run on
# lirabox.exe with Keytap.dll from lirabox-windows/ (bash scripts/build-windows.sh),
# and its start with a recording -> first sound and first published position.
#   bash bench/keysound-wine.sh [BUILD_DIR] [CYCLES]
# BUILD_DIR (the Linux tree scripts/bench.sh hands every benchmark) is not used;
# LIRABOX_WINDOWS_DIR names another folder holding lirabox.exe. Skipped, with
# one line, when Wine or the Windows build is not there.
#
# Everything is private and removed afterwards: a Wine prefix (made with
# wineboot, about a minute), Xvfb with openbox, the PulseAudio server. Wine
# plays through its ALSA driver (HKCU\Software\Wine\Drivers, Audio = alsa)
# into ALSA's pulse plugin (~/.asoundrc), so the sound goes winealsa -> ALSA ->
# PulseAudio, not through a Windows audio engine.
#
# Which keys Keytap sees under Wine: its hook (SetWindowsHookEx, WH_KEYBOARD)
# runs in the Wine process that receives the key, and Wine receives only keys
# the X server sends to one of its windows. A key pressed while Lirabox's
# window, or another Wine program's (notepad here, standing in for the user's
# editor), has the focus works; one pressed while a Linux program's window has
# it never reaches Wine, and Lirabox does not hear it. So the keys are
# measured twice: with Wine's notepad in front (the key reaches Wine through
# notepad's window, and the hook posts it to Lirabox), and with Lirabox's own
# window in front.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cycles=${2:-40}
windows=${LIRABOX_WINDOWS_DIR:-$here/lirabox-windows}
if ! command -v wine >/dev/null; then
  echo "bench/keysound-wine.sh: skipped, Wine is not installed (bash scripts/deps-windows.sh)"
  exit 0
fi
if [[ ! -f "$windows/lirabox.exe" || ! -f "$windows/Keytap.dll" ]]; then
  echo "bench/keysound-wine.sh: skipped, no Windows build in $windows (bash scripts/build-windows.sh)"
  exit 0
fi
if [[ -z "${LIRABOX_BENCH_DISPLAY:-}" ]]; then
  exec env LIRABOX_BENCH_DISPLAY=1 "$here/tests/with-xvfb.sh" --wm bash "$0" "${1:-}" "$cycles"
fi
source "$here/bench/common/pulse.sh"
source "$here/bench/common/keysound.sh"

seconds=600
work=$(mktemp -d /tmp/lirabox-keysound-wine-XXXXXX)
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_RUNTIME_DIR="$work/runtime"
cleanup() {
  stop_spinners
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  stop_private_pulse
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/program"
chmod 700 "$XDG_RUNTIME_DIR"
start_private_pulse "$work/pulse"
cat >"$HOME/.asoundrc" <<ASOUND
pcm.!default {
  type pulse
  server "$PULSE_SERVER"
}
ASOUND

started=$(date +%s)
timeout 300 wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
timeout 120 wineserver -w || { echo "the Wine prefix did not settle within 120 s" >&2; exit 1; }
echo "Wine prefix ready in $(( $(date +%s) - started )) s; $(wine --version)"

write_ramp_recording "$work/ramp.wav" "$seconds"
cp "$windows/lirabox.exe" "$windows/Keytap.dll" "$windows/Timepost.dll" "$work/program/"
write_key_settings "$work/program"
recording="Z:${work//\//\\}\\ramp.wav"
position_file="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/lirabox/position"

# Brings the window of this title to the front and waits until it has the focus.
front_window() {
  local title=$1 id=""
  for _ in $(seq 1 200); do
    id=$(xdotool search --name "^$title\$" 2>/dev/null | head -1) || true
    if [[ -n "$id" ]]; then
      xdotool windowactivate "$id" 2>/dev/null || true
      [[ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" == "$title" ]] && return 0
    fi
    sleep 0.05
  done
  echo "the window \"$title\" did not come to the front within 10 s" >&2
  return 1
}
export -f front_window

# The user's editor: Wine's notepad, open through the whole run (it also keeps
# Wine's own services running, as in a Wine session that is in use).
wine notepad >/dev/null 2>&1 &
front_window "Untitled - Notepad"

measure() {
  local front
  for front in "Untitled - Notepad" "Lirabox"; do
    echo "$front in front:"
    key_table_header
    /usr/bin/python3 "$here/bench/player/key_to_sound.py" "$cycles" "$seconds" \
      --before-keys "front_window '$front'" -- wine "$work/program/lirabox.exe" "$recording/t=60"
  done
}

echo "Start -> sound under Wine (its server and notepad running), 5 starts; load average $(cut -d' ' -f1-3 /proc/loadavg)"
start_table_header
/usr/bin/python3 "$here/bench/player/start_to_sound.py" 5 "$seconds" "$position_file" \
  -- wine "$work/program/lirabox.exe" "$recording"
echo "$cycles presses of each key"
key_tables measure
