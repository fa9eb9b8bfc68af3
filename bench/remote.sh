#!/usr/bin/env bash
# `lirabox --command` from another process: start of the sending process ->
# the running copy carrying the command out (a jump, seen as its MPRIS Seeked
# signal), and -> the sender's exit; medians and p99 of RUNS commands (200 by
# default). The running copy plays a generated recording on the offscreen
# platform, on a private session bus.
#   bash bench/remote.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:?usage: bench/remote.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-200}
here=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z "${LIRABOX_BENCH_BUS:-}" ]]; then
  exec env LIRABOX_BENCH_BUS=1 dbus-run-session -- bash "$0" "$build" "$runs"
fi

work=$(mktemp -d)
trap 'kill "$player" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
cp "$build/bin/lirabox" "$build/bin/liblirabox.so" "$build/bin/liblirabox-start.so" "$build/bin/libkeytap.so" "$build/bin/libtimepost.so" \
  "$work/program/"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=120" -ac 1 -ar 16000 "$work/talk.wav"
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
  "$work/program/lirabox" "$work/talk.wav" >"$work/player.log" 2>&1 &
player=$!
until gdbus call --session --dest io.github.lirabox --object-path /io/github/lirabox \
  --method org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1; do
  kill -0 "$player" || { cat "$work/player.log"; exit 1; }
  sleep 0.1
done

echo "$runs commands, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "| Measure | median | p99 |"
echo "|---|---|---|"
/usr/bin/python3 "$here/bench/player/remote_command.py" "$work/program/lirabox" "$runs"
