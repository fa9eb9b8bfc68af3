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
source "$here/bench/common/keysound.sh"

seconds=600
work=$(mktemp -d)
trap 'stop_spinners; stop_private_pulse; rm -rf "$work"' EXIT
start_private_pulse "$work/pulse"

write_ramp_recording "$work/ramp.wav" "$seconds"
mkdir -p "$work/program" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp "$build/bin/lirabox" "$build/bin/liblirabox.so" "$build/bin/liblirabox-start.so" "$build/bin/libkeytap.so" "$build/bin/libtimepost.so" \
  "$work/program/"
write_key_settings "$work/program"

measure() {
  key_table_header
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" /usr/bin/python3 \
    "$here/bench/player/key_to_sound.py" "$cycles" "$seconds" -- "$work/program/lirabox" "$work/ramp.wav/t=60"
}

echo "Start -> sound, 5 starts each in turns; load average $(cut -d' ' -f1-3 /proc/loadavg)"
start_table_header
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" /usr/bin/python3 \
  "$here/bench/player/start_to_sound.py" 5 "$seconds" "$work/runtime/lirabox/position" --mpv "$work/ramp.wav" \
  --engine "$build/bin/engine_first_sound" "$work/ramp.wav" -- "$work/program/lirabox" "$work/ramp.wav"
echo "$cycles presses of each key"
key_tables measure
