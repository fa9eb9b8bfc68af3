#!/usr/bin/env bash
# Runs every attack, each bounded in time (10 min in all), and prints their
# counts: the media, config and kill attacks of lirabox_attacks, then the
# attacks on the running program over the session bus and through a slow
# open (program.sh, on a private bus and X display). Fails when any of them
# found a fault.
#   tests/attacks/run.sh BUILD/bin [MEDIA CONFIG KILLS CALLS CLIENTS DELAY]
#   (defaults 200 120 350 6000 150 10: the counts in docs/reliability.md)
set -uo pipefail
bin=${1:?usage: run.sh BUILD/bin [MEDIA CONFIG KILLS CALLS CLIENTS DELAY]}
here=$(cd "$(dirname "$0")" && pwd)
status=0
run() {
  local seconds=$1
  shift
  timeout -k 5 "$seconds" "$@" || status=1
}
run 240 "$bin/lirabox_attacks" media "${2:-200}"
run 90 "$bin/lirabox_attacks" config "${3:-120}"
run 90 "$bin/lirabox_attacks" kill "${4:-350}"
run 180 dbus-run-session -- "$here/../with-xvfb.sh" --wm \
  "$here/program.sh" "$bin/lirabox" "${5:-6000}" "${6:-150}" "${7:-10}"
exit $status
