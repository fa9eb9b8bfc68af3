#!/usr/bin/env bash
# Runs the Windows engine's test program under wine64 with everything private:
# a Wine prefix and HOME, an Xvfb display (unless DISPLAY is set), and a
# PulseAudio server with a null sink behind ALSA's file plugin, so every
# sample Wine plays is also written to a file the tests analyse.
#   tests/media/win32/run-under-wine.sh path/to/media_win32_test.exe [gtest arguments]
# A prefix made before (WINEPREFIX pointing at it) saves the set-up's ~30 s.
set -euo pipefail
exe=$(realpath "${1:?usage: run-under-wine.sh media_win32_test.exe [gtest arguments]}")
shift
export PATH=$PATH:/usr/lib/wine
work=$(mktemp -d /tmp/lirabox-wine-XXXXXX)
pids=()
cleanup() {
  wineserver -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work/home XDG_RUNTIME_DIR=$work/run WINEDEBUG=-all
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/recordings" "$work/capture"
chmod 700 "$XDG_RUNTIME_DIR"
export WINEPREFIX=${WINEPREFIX:-$work/prefix}

if [[ -z ${DISPLAY:-} ]]; then
  mkfifo "$work/display"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
  pids+=($!)
  read -r number <"$work/display"
  export DISPLAY=:$number
fi

# The private sound server; the ALSA default device writes each stream to a
# file of its own in capture/ and passes the sound on to the server, which
# paces it in real time.
pulseaudio --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes -n \
  -L "module-null-sink sink_name=capture" \
  -L "module-native-protocol-unix socket=$work/pulse.sock auth-anonymous=1" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -S $work/pulse.sock ]] && break; sleep 0.1; done
[[ -S $work/pulse.sock ]] || { echo "the private PulseAudio server did not start" >&2; exit 1; }
cat > "$HOME/.asoundrc" <<ALSA
pcm.!default { type file; slave.pcm "paced"; file "$work/capture/out.raw"; format "raw"; truncate false }
pcm.paced { type pulse; server "unix:$work/pulse.sock" }
ctl.!default { type pulse; server "unix:$work/pulse.sock" }
ALSA

[[ -d $WINEPREFIX ]] || wine64 wineboot -i >/dev/null 2>&1
wine64 reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1

# bursts: silence, a tone from 1 s to 3 s, silence, a tone from 6 s on (the
# untagged MP3 has no LAME tag telling its delay); tone10: 10 s of 440 Hz.
make() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
make -f lavfi -i "aevalsrc='if(between(t,1,3)+gte(t,6),0.5*sin(2*PI*440*t),0)':s=44100:d=10" \
  -c:a pcm_s16le "$work/recordings/bursts.wav"
make -i "$work/recordings/bursts.wav" -c:a libmp3lame -b:a 128k "$work/recordings/bursts.mp3"
make -i "$work/recordings/bursts.wav" -c:a libmp3lame -b:a 128k -write_xing 0 "$work/recordings/bursts-untagged.mp3"
make -i "$work/recordings/bursts.wav" -c:a wmav2 -b:a 128k "$work/recordings/bursts.wma"
make -f lavfi -i "aevalsrc='0.5*sin(2*PI*440*t)':s=44100:d=10" -c:a pcm_s16le "$work/recordings/tone10.wav"

export LIRABOX_RECORDINGS=$(wine64 winepath -w "$work/recordings" 2>/dev/null)
export LIRABOX_CAPTURE_FOLDER=$(wine64 winepath -w "$work/capture" 2>/dev/null)
# Wine may exit 0 without running the program at all: the verdict is gtest's own.
# Into a file, not a pipe: the Wine server it starts would hold a pipe open.
wine64 "$exe" "$@" >"$work/output.txt" 2>&1 || true
grep -v '^ALSA lib' "$work/output.txt"
grep -q '^\[  PASSED  \]' "$work/output.txt" && ! grep -q '^\[  FAILED  \]' "$work/output.txt"
