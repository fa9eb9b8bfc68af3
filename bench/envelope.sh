#!/usr/bin/env bash
# The seek bar's loudness envelope of a 10-hour MP3 (two speakers taking turns
# with pauses, 44.1 kHz mono, 64 kbit/s):
#   1. envelope_bench alone: CPU to the coarse pass and to the whole
#      envelope, the share of the recording decoded, the memory it took;
#      against a full decode of the same file by ffmpeg (CPU seconds);
#   2. the built program playing it under Xvfb: the envelope worker's CPU (the
#      thread at nice 19), the other threads' CPU per second while it runs and
#      afterwards, and the program's resident memory before and at its peak.
#   bash bench/envelope.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: bench/envelope.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
data="$build/bench-envelope-data"
mkdir -p "$data"
long="$data/ten-hours.mp3"

if [[ ! -s "$long" ]]; then
  voice='(sin(2*PI*F*t)+0.25*sin(4*PI*F*t))*(0.75-0.25*cos(8*PI*t))/0.5616'
  quiet="0.0316*${voice//F/120}*lt(mod(t,8),3)"
  loud="0.501*${voice//F/210}*gte(mod(t,8),4)*lt(mod(t,8),7)"
  ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "aevalsrc='$quiet+$loud':s=44100:d=64" \
    -c:a libmp3lame -b:a 64k -write_xing 0 "$data/piece.mp3"
  for _ in $(seq 1 563); do echo "file 'piece.mp3'"; done >"$data/pieces.txt"
  ffmpeg -nostdin -hide_banner -loglevel error -y -f concat -safe 0 -i "$data/pieces.txt" -c copy "$long"
fi

echo "== envelope_bench (600 columns)"
"$build/bin/envelope_bench" "$long" 600
echo "== full decode by ffmpeg, for comparison"
/usr/bin/time -f "ffmpeg full decode  %U s user + %S s system CPU, %e s wall" \
  ffmpeg -nostdin -hide_banner -loglevel error -threads 1 -i "$long" -f null - 2>&1 | tail -1

echo "== the program playing it"
"$here/tests/with-xvfb.sh" --wm python3 "$here/bench/media/envelope_in_program.py" "$build/bin/lirabox" "$long"
