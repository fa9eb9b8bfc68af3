#!/usr/bin/env bash
# The whole program playing an MP3 against bare `mpv --no-video` on the same
# file: CPU seconds (user + system, start-up included) over the same 40 s, and
# peak RSS, under Xvfb with a window manager. Both fall back to silent output
# when there is no sound device.
#   bash bench/program.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: bench/program.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z "${LIRABOX_BENCH_DISPLAY:-}" ]]; then
  exec env LIRABOX_BENCH_DISPLAY=1 "$here/tests/with-xvfb.sh" --wm bash "$0" "$build"
fi

seconds=40
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=$((seconds + 20))" -ac 1 -ar 44100 \
  -b:a 128k "$work/talk.mp3"
# The program with its two libraries in a folder of its own, which takes its INI files.
mkdir -p "$work/program" "$work/config"
# The runtime folder (Timepost's position file) on tmpfs, as /run/user/UID is.
runtime=$(mktemp -d -p /dev/shm)
trap 'rm -rf "$work" "$runtime"' EXIT
cp "$build/bin/lirabox" "$build/bin/libkeytap.so" "$build/bin/libtimepost.so" "$work/program/"

# Prints "CPU-seconds peak-RSS-MiB" of the command after $seconds seconds.
measure() {
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$seconds"
  local stat
  read -r -a stat <"/proc/$pid/stat"
  local hwm
  hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v t="$((stat[13] + stat[14]))" -v hz="$(getconf CLK_TCK)" -v kb="$hwm" \
    'BEGIN {printf "%.2f %.1f\n", t / hz, kb / 1024}'
}

read -r ours_cpu ours_rss < <(XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$work/config" \
  measure "$work/program/lirabox" "$work/talk.mp3")
read -r mpv_cpu mpv_rss < <(measure mpv --no-config --no-video --audio-fallback-to-null=yes "$work/talk.mp3")

echo "| Measure over ${seconds} s of playback | lirabox | mpv --no-video | ratio |"
echo "|---|---|---|---|"
awk -v a="$ours_cpu" -v b="$mpv_cpu" 'BEGIN {printf "| CPU seconds | %.2f | %.2f | %.2f |\n", a, b, a / b}'
awk -v a="$ours_rss" -v b="$mpv_rss" 'BEGIN {printf "| peak RSS (MiB) | %.1f | %.1f | %.2f |\n", a, b, a / b}'
