#!/usr/bin/env bash
# The whole program playing an MP3 against bare `mpv --no-video` on the same
# file: CPU seconds (user + system, start-up included) over the same 40 s, and
# peak RSS, under Xvfb with a window manager. Both fall back to silent output
# when there is no sound device. PSS (shared pages split among the processes
# mapping them) is shown beside RSS, which counts every shared library page
# in full. Medians of RUNS runs (3 by default), taken in turns.
#   bash bench/program.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:?usage: bench/program.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-3}
here=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z "${LIRABOX_BENCH_DISPLAY:-}" ]]; then
  exec env LIRABOX_BENCH_DISPLAY=1 "$here/tests/with-xvfb.sh" --wm bash "$0" "$build" "$runs"
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

# Prints "CPU-seconds peak-RSS-MiB PSS-MiB" of the command after $seconds seconds.
measure() {
  "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$seconds"
  local stat
  read -r -a stat <"/proc/$pid/stat"
  local hwm
  hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
  local pss
  pss=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v t="$((stat[13] + stat[14]))" -v hz="$(getconf CLK_TCK)" -v kb="$hwm" -v pss="$pss" \
    'BEGIN {printf "%.2f %.1f %.1f\n", t / hz, kb / 1024, pss / 1024}'
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

for _ in $(seq 1 "$runs"); do
  XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$work/config" \
    measure "$work/program/lirabox" "$work/talk.mp3" >>"$work/ours"
  measure mpv --no-config --no-video --audio-fallback-to-null=yes "$work/talk.mp3" >>"$work/mpv"
done
for column in 1 2 3; do
  ours[column]=$(cut -d' ' -f"$column" "$work/ours" | median)
  theirs[column]=$(cut -d' ' -f"$column" "$work/mpv" | median)
done

echo "Medians of $runs runs, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "| Measure over ${seconds} s of playback | lirabox | mpv --no-video | ratio |"
echo "|---|---|---|---|"
row() { awk -v n="$1" -v a="$2" -v b="$3" 'BEGIN {printf "| %s | %.2f | %.2f | %.2f |\n", n, a, b, a / b}'; }
row "CPU seconds" "${ours[1]}" "${theirs[1]}"
row "peak RSS (MiB)" "${ours[2]}" "${theirs[2]}"
row "PSS at the end (MiB)" "${ours[3]}" "${theirs[3]}"
