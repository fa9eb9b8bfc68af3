#!/usr/bin/env bash
# The whole program playing an MP3 against bare `mpv --no-video` and against
# Parlatype (played through its D-Bus "play" action) on the same file, each
# through a private PulseAudio null sink (bench/common/pulse.sh) under Xvfb with
# a window manager, on a private session bus: CPU seconds (user + system,
# start-up included) over the same 40 s, peak RSS, and PSS at the end (shared
# pages split among the processes mapping them; RSS counts every shared page
# in full). The three take turns, RUNS times (5 by default), and the medians
# are printed; then all once more while another process keeps one core busy.
# Parlatype is measured when it is installed (`apt-get install parlatype`).
#   bash bench/program.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:?usage: bench/program.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-5}
here=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z "${LIRABOX_BENCH_DISPLAY:-}" ]]; then
  exec env LIRABOX_BENCH_DISPLAY=1 "$here/tests/with-xvfb.sh" --wm dbus-run-session -- bash "$0" "$build" "$runs"
fi
source "$here/bench/common/pulse.sh"

seconds=40
work=$(mktemp -d)
# The runtime folder (Timepost's position file) on tmpfs, as /run/user/UID is.
runtime=$(mktemp -d -p /dev/shm)
spinner=""
trap 'kill $spinner 2>/dev/null || true; stop_private_pulse; rm -rf "$work" "$runtime"' EXIT
start_private_pulse "$work/pulse"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=$((seconds + 20))" -ac 1 -ar 44100 \
  -b:a 128k "$work/talk.mp3"
# The program with its libraries in a folder of its own, which takes its INI files.
mkdir -p "$work/program" "$work/config" "$work/home"
cp "$build/bin/lirabox" "$build/bin/liblirabox.so" "$build/bin/liblirabox-start.so" "$build/bin/libkeytap.so" "$build/bin/libtimepost.so" \
  "$work/program/"
players=(lirabox mpv)
command -v parlatype >/dev/null && players+=(parlatype)

# Parlatype opens the file paused; its window's "play" action starts it, once
# the process has taken its bus name (a call before would start a second one).
parlatype_play() {
  local window=/org/parlatype/Parlatype/window/1
  until gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner org.parlatype.Parlatype 2>/dev/null | grep -q true; do
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.05
  done
  until gdbus call --session --dest org.parlatype.Parlatype --object-path "$window" \
    --method org.gtk.Actions.Activate play '[]' '{}' >/dev/null 2>&1; do
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.05
  done
}

# Prints "CPU-seconds peak-RSS-MiB PSS-MiB" of a player after $seconds seconds.
measure() {
  local pid
  case $1 in
    lirabox)
      XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$work/config" "$work/program/lirabox" "$work/talk.mp3" \
        >/dev/null 2>&1 &
      pid=$! ;;
    mpv)
      mpv --no-config --no-video --ao=pulse "$work/talk.mp3" >/dev/null 2>&1 &
      pid=$! ;;
    parlatype)
      HOME="$work/home" parlatype "$work/talk.mp3" >/dev/null 2>&1 &
      pid=$!
      parlatype_play "$pid" ;;
  esac
  sleep "$seconds"
  local stat hwm pss
  read -r -a stat <"/proc/$pid/stat"
  hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status")
  pss=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v t="$((stat[13] + stat[14]))" -v hz="$(getconf CLK_TCK)" -v kb="$hwm" -v pss="$pss" \
    'BEGIN {printf "%.2f %.1f %.1f\n", t / hz, kb / 1024, pss / 1024}'
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

table() {
  rm -f "$work"/figures.*
  for _ in $(seq 1 "$runs"); do
    for player in "${players[@]}"; do measure "$player" >>"$work/figures.$player"; done
  done
  echo "Medians of $runs runs in turns, load average $(cut -d' ' -f1-3 /proc/loadavg) $1"
  # Lirabox's PSS shares Qt's pages with every other process mapping them: it
  # is its cost alone only while it is the only Qt program.
  echo "Other processes mapping Qt 6 now: $(grep -l libQt6Core /proc/[0-9]*/maps 2>/dev/null | wc -l)"
  # The program keeps a recording's seek bar envelope (envelopes.dat): only
  # its very first run of the benchmark measures it.
  echo "CPU seconds run by run: lirabox $(cut -d' ' -f1 "$work/figures.lirabox" | xargs), mpv $(cut -d' ' -f1 "$work/figures.mpv" | xargs)"
  local header="| Measure over ${seconds} s of playback | lirabox | mpv --no-video | lirabox / mpv |"
  local rule="|---|---|---|---|"
  if [[ -f "$work/figures.parlatype" ]]; then
    header+=" Parlatype | lirabox / Parlatype |"
    rule+="---|---|"
  fi
  echo "$header"
  echo "$rule"
  local column name
  for column in 1 2 3; do
    name=$(echo "CPU seconds|peak RSS (MiB)|PSS at the end (MiB)" | cut -d'|' -f"$column")
    local ours theirs peer=""
    ours=$(cut -d' ' -f"$column" "$work/figures.lirabox" | median)
    theirs=$(cut -d' ' -f"$column" "$work/figures.mpv" | median)
    [[ -f "$work/figures.parlatype" ]] && peer=$(cut -d' ' -f"$column" "$work/figures.parlatype" | median)
    awk -v n="$name" -v a="$ours" -v b="$theirs" -v c="$peer" 'BEGIN {
      printf "| %s | %.2f | %.2f | %.2f |", n, a, b, a / b
      if (c != "") printf " %.2f | %.2f |", c, a / c
      printf "\n"
    }'
  done
}

table ""
bash -c 'while :; do :; done' &
spinner=$!
table "(another process keeps one core busy)"
