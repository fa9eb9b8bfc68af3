#!/usr/bin/env bash
# Makes the recordings the Windows engine's tests play, into FOLDER:
#   bursts.*: silence, a tone from 1 s to 3 s, silence, a tone from 6 s on, as
#             WAV, MP3 (with and without the LAME tag telling its delay) and WMA;
#   tone10.wav: 10 s of 440 Hz.
set -euo pipefail
folder=${1:?usage: make-recordings.sh FOLDER}
mkdir -p "$folder"
make() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
make -f lavfi -i "aevalsrc='if(between(t,1,3)+gte(t,6),0.5*sin(2*PI*440*t),0)':s=44100:d=10" \
  -c:a pcm_s16le "$folder/bursts.wav"
make -i "$folder/bursts.wav" -c:a libmp3lame -b:a 128k "$folder/bursts.mp3"
make -i "$folder/bursts.wav" -c:a libmp3lame -b:a 128k -write_xing 0 "$folder/bursts-untagged.mp3"
make -i "$folder/bursts.wav" -c:a wmav2 -b:a 128k "$folder/bursts.wma"
make -f lavfi -i "aevalsrc='0.5*sin(2*PI*440*t)':s=44100:d=10" -c:a pcm_s16le "$folder/tone10.wav"
