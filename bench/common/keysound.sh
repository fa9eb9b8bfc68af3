# Sourced by bench/keysound.sh and bench/keysound-wine.sh: the recording whose
# position is heard in the ratio of its two tones (bench/player/key_to_sound.py),
# the player's settings for the keys, and the key tables once on the machine as
# it is and once with both cores kept busy.
#   write_ramp_recording FILE SECONDS
#   write_key_settings FOLDER     (config.ini and UserCfg.ini beside the program)
#   start_table_header, key_table_header
#   key_tables COMMAND...         (the command prints the table rows; run twice)
#   stop_spinners                 (for the caller's EXIT trap)

keysound_spinners=()

# 1 kHz rising from 0.1 to 0.9 of the 2 kHz tone's level: the position is in the ratio.
write_ramp_recording() {
  local file=$1 seconds=$2
  ffmpeg -loglevel error -f lavfi \
    -i "aevalsrc=0.4*(0.1+0.8*t/$seconds)*sin(2*PI*1000*t)+0.4*sin(2*PI*2000*t):s=48000:d=$seconds" \
    -c:a pcm_s16le "$file"
}

# F9 play/pause, F8 fast-forward, F7 rewind (Windows key codes); steps of 2 s, 1 s back on play.
write_key_settings() {
  local folder=$1
  row() { printf '[ID0%d]\nID=%d\nKeyCode=%d\nKeyDestroy=1\nShiftStatus=0\n' "$1" "$1" "$2"; }
  { row 0 120; row 4 119; row 5 118; } >"$folder/config.ini"
  printf '[Config]\nRewind=2\nForward=2\nAutorev=1\n' >"$folder/UserCfg.ini"
}

start_table_header() {
  echo "| Measure | best | median |"
  echo "|---|---|---|"
}

key_table_header() {
  echo "| Key | median | p99 | presses |"
  echo "|---|---|---|---|"
}

key_tables() {
  echo "Key press -> sound; load average $(cut -d' ' -f1-3 /proc/loadavg)"
  "$@"
  for _ in 1 2; do
    bash -c 'while :; do :; done' &
    keysound_spinners+=($!)
  done
  echo "Both cores busy (two spinning processes); load average $(cut -d' ' -f1-3 /proc/loadavg)"
  "$@"
  stop_spinners
}

stop_spinners() {
  if (( ${#keysound_spinners[@]} )); then
    kill "${keysound_spinners[@]}" 2>/dev/null || true
    wait "${keysound_spinners[@]}" 2>/dev/null || true
  fi
  keysound_spinners=()
}
