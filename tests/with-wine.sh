#!/usr/bin/env bash
# Runs Windows test programs under Wine, one after the other, and fails unless
# each of them ran to GoogleTest's final "[  PASSED  ]" line: Wine may exit 0
# after printing nothing (a program that cannot start, for instance).
#
#   tests/with-wine.sh PROGRAM.exe...
#
# One run has, all to itself and removed afterwards:
#   - a Wine prefix and a HOME (the prefix is set up once, with wineboot -i,
#     and shared by the programs of the run; the wineserver is stopped between
#     programs, so no window or process outlives its program);
#   - an Xvfb display with openbox (Wine needs a window manager for focus and
#     title bars);
#   - a private PulseAudio server with a null sink, on its own socket. Wine
#     plays through ALSA (HKCU\Software\Wine\Drivers, Audio = alsa), and the
#     run's ~/.asoundrc writes every sample played, as raw samples, into the
#     folder the programs find in %LIRABOX_CAPTURE_FOLDER% (a Z:\ path),
#     paced in real time by the null sink: float32 48 kHz stereo through
#     WASAPI, the program's own format through waveOut. Each opening of the
#     sound device starts a new file there (out.raw, out.raw.0001, ...); the
#     folder is emptied before each program;
#   - the recordings of tests/player/media/win32/make-recordings.sh, in the folder
#     %LIRABOX_RECORDINGS%.
set -euo pipefail

(( $# > 0 )) || { echo "usage: $0 PROGRAM.exe..." >&2; exit 2; }

run=$(mktemp -d /tmp/lirabox-wine-XXXXXX)
pids=()
cleanup() {
  WINEPREFIX="$run/prefix" wineserver -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  # A test that failed half-way may have left a folder of the prefix immutable.
  chattr -R -i "$run" 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT

export HOME="$run/home" WINEPREFIX="$run/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_RUNTIME_DIR="$run/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY

# The display and its window manager.
mkfifo "$run/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$run/display" 2>"$run/xvfb.log" &
pids+=($!)
read -r display_number <"$run/display"
export DISPLAY=":$display_number"
# Openbox's defaults; an empty file would put a "syntax error" window on the screen.
echo '<openbox_config xmlns="http://openbox.org/3.4/rc"/>' >"$run/openbox.xml"
openbox --sm-disable --config-file "$run/openbox.xml" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done

# The sound server and the capture.
capture="$run/capture"
mkdir -p "$capture"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --log-target=file:"$run/pulse.log" \
  -L "module-native-protocol-unix socket=$run/pulse.sock auth-anonymous=1" \
  -L "module-null-sink sink_name=capture" >/dev/null 2>&1 &
pids+=($!)
cat >"$HOME/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "sink"
  file "$capture/out.raw"
  format "raw"
  truncate false
}
pcm.sink {
  type pulse
  server "unix:$run/pulse.sock"
}
ASOUND

# The prefix, once for the whole run.
started=$(date +%s%N)
wineboot -i >"$run/wineboot.log" 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
# A program that crashes ends with a backtrace instead of a debugger dialog
# that would wait for the time-out.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }
bash "$(dirname "$0")/player/media/win32/make-recordings.sh" "$run/recordings"
export LIRABOX_RECORDINGS=$(windows_path "$run/recordings") LIRABOX_CAPTURE_FOLDER=$(windows_path "$capture")
echo "Wine prefix ready in $(( ($(date +%s%N) - started) / 1000000 )) ms"

# Runs one program; prints its output and a verdict line; fails unless it ran
# through to GoogleTest's final "[  PASSED  ]" line.
run_program() {
  local program=$1 name output started program_status=0 verdict="passed"
  name=$(basename "$program")
  output="$run/$name.log"
  started=$(date +%s)
  rm -f "$capture"/*
  timeout 300 wine "$program" >"$output" 2>&1 || program_status=$?
  WINEPREFIX="$run/prefix" wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  cat "$output"
  if (( program_status != 0 )); then
    verdict="failed (exit status $program_status)"
  elif ! grep -q '^\[  PASSED  \] ' "$output" || grep -q '^\[  FAILED  \] ' "$output"; then
    verdict="failed (no final [  PASSED  ] line: the program did not run through)"
  fi
  echo "== $name: $verdict in $(( $(date +%s) - started )) s"
  [[ "$verdict" == "passed" ]]
}

status=0
for program in "$@"; do
  run_program "$program" || status=1
done
exit "$status"
