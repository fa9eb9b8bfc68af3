#!/usr/bin/env bash
# Start -> first sound against mpv's, and global key -> sound: how long after an XTEST key press the listener hears
# the sound stop (pause), start again from its step back (play), and jump
# (rewind, fast-forward), found in the recording of a private PulseAudio null
# sink's monitor (bench/common/pulse.sh). Once on a machine left as it is, once
# with both cores kept busy by two spinning processes; medians and p99 of
# CYCLES presses of each key (40 by default).
#   bash bench/keysound.sh BUILD_DIR [CYCLES]
set -euo pipefail
build=$(cd "${1:?usage: bench/keysound.sh BUILD_DIR [CYCLES]}" && pwd)
cycles=${2:-40}
here=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z "${LIRABOX_BENCH_DISPLAY:-}" ]]; then
  exec env LIRABOX_BENCH_DISPLAY=1 "$here/tests/with-xvfb.sh" --wm bash "$0" "$build" "$cycles"
fi
source "$here/bench/common/pulse.sh"

seconds=600
work=$(mktemp -d)
spinners=()
trap 'kill "${spinners[@]}" 2>/dev/null || true; stop_private_pulse; rm -rf "$work"' EXIT
start_private_pulse "$work/pulse"

# 1 kHz rising from 0.1 to 0.9 of the 2 kHz tone's level: the position is in the ratio.
ffmpeg -loglevel error -f lavfi \
  -i "aevalsrc=0.4*(0.1+0.8*t/$seconds)*sin(2*PI*1000*t)+0.4*sin(2*PI*2000*t):s=48000:d=$seconds" \
  -c:a pcm_s16le "$work/ramp.wav"
mkdir -p "$work/program" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp "$build/bin/lirabox" "$build/bin/liblirabox.so" "$build/bin/libkeytap.so" "$build/bin/libtimepost.so" \
  "$work/program/"
# F9 play/pause, F8 fast-forward, F7 rewind (Windows key codes); steps of 2 s, 1 s back on play.
row() { printf '[ID0%d]\nID=%d\nKeyCode=%d\nKeyDestroy=1\nShiftStatus=0\n' "$1" "$1" "$2"; }
{ row 0 120; row 4 119; row 5 118; } >"$work/program/config.ini"
printf '[Config]\nRewind=2\nForward=2\nAutorev=1\n' >"$work/program/UserCfg.ini"

measure() {
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" /usr/bin/python3 \
    "$here/bench/player/key_to_sound.py" "$cycles" "$seconds" -- "$work/program/lirabox" "$work/ramp.wav/t=60"
}

echo "Start -> sound, 5 starts each in turns; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "| Measure | best | median |"
echo "|---|---|---|"
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" /usr/bin/python3 \
  "$here/bench/player/start_to_sound.py" 5 "$seconds" "$work/ramp.wav" "$work/program/lirabox"
echo "Key press -> sound, $cycles presses each; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "| Key | median | p99 | presses |"
echo "|---|---|---|---|"
measure
for _ in 1 2; do
  bash -c 'while :; do :; done' &
  spinners+=($!)
done
echo "Both cores busy (two spinning processes); load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "| Key | median | p99 | presses |"
echo "|---|---|---|---|"
measure
