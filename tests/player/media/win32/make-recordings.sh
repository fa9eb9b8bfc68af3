#!/usr/bin/env bash
# Makes the recordings the Windows engine's tests play, into FOLDER:
#   bursts.*: silence, a tone from 1 s to 3 s, silence, a tone from 6 s on, as
#             WAV, MP3 (with and without the LAME tag telling its delay) and WMA;
#   tone10.wav: 10 s of 440 Hz;
#   speakers.mp3: three rounds of tests/common's two speakers (a quiet voice
#             for 3 s, a pause, a loud one for 3 s, a pause; 8 s a round).
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
voice='(sin(2*PI*F*t)+0.25*sin(4*PI*F*t))*(0.75-0.25*cos(8*PI*t))/0.5616'
quiet="0.0316*${voice//F/120}*lt(mod(t,8),3)"
loud="0.501*${voice//F/210}*gte(mod(t,8),4)*lt(mod(t,8),7)"
make -f lavfi -i "aevalsrc='$quiet+$loud':s=44100:d=24" -c:a libmp3lame -b:a 128k "$folder/speakers.mp3"
