# Sourced by the benchmarks: a private PulseAudio server whose only sink is a
# null sink ("bench", 48 kHz mono) paced by the system clock, so players "play"
# in real time without a sound device, and what they play can be recorded from
# "bench.monitor". Exports PULSE_SERVER for the programs started afterwards.
#   start_private_pulse FOLDER     (FOLDER: an empty folder of the caller's)
#   stop_private_pulse

start_private_pulse() {
  local folder=$1
  mkdir -p "$folder/home" "$folder/runtime"
  chmod 700 "$folder/runtime"
  HOME="$folder/home" XDG_RUNTIME_DIR="$folder/runtime" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --disallow-exit --log-target=stderr \
    -L "module-native-protocol-unix socket=$folder/socket auth-anonymous=1" \
    -L "module-null-sink sink_name=bench rate=48000 channels=1" >"$folder/pulse.log" 2>&1 &
  private_pulse_pid=$!
  export PULSE_SERVER="unix:$folder/socket"
  until pactl info >/dev/null 2>&1; do
    kill -0 "$private_pulse_pid" 2>/dev/null || { cat "$folder/pulse.log" >&2; return 1; }
    sleep 0.05
  done
  pactl set-default-sink bench
}

stop_private_pulse() {
  if [[ -n "${private_pulse_pid:-}" ]]; then
    kill "$private_pulse_pid" 2>/dev/null || true
    wait "$private_pulse_pid" 2>/dev/null || true
    private_pulse_pid=""
  fi
}
