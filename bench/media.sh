#!/usr/bin/env bash
# Media engine benchmarks: open time of one-hour WAV, MP3 and WMA recordings,
# CPU per minute of playback at rate 1.0 and 2.0 against plain mpv, peak RSS,
# and the real-time factor of our own time-stretch and resampler.
#   bash bench/media.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: bench/media.sh BUILD_DIR}
bench="$build/bin/media_bench"
data="$build/bench-media-data"
mkdir -p "$data"

# One hour of a tone, as a 16 kHz mono voice recording would be; made once.
make() {
  local out=$1; shift
  [[ -s "$out" ]] || ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "sine=frequency=440:sample_rate=16000:duration=3600" "$@" "$out"
}
make "$data/hour.wav" -c:a pcm_s16le
make "$data/hour.mp3" -c:a libmp3lame -b:a 64k
make "$data/hour.wma" -c:a wmav2 -b:a 64k

"$bench" open "$data/hour.wav" "$data/hour.mp3" "$data/hour.wma"
for f in mp3 wav wma; do
  echo "== $f"
  "$bench" compare "$data/hour.$f" 20
done

echo "== time-stretch, resampler and speech leveller (realtime_x: seconds of sound per CPU second)"
"$build/bin/media_stretch_bench" --benchmark_min_time=0.5
