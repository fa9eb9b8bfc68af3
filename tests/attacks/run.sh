#!/usr/bin/env bash
# Runs the media, config and kill attacks, each bounded in time, and prints
# their counts. Fails when any of them found a fault.
#   tests/attacks/run.sh PATH/TO/lirabox_attacks [MEDIA CONFIG KILLS]
#   (defaults 200 120 350: the counts in docs/reliability.md)
set -uo pipefail
driver=${1:?usage: run.sh PATH/TO/lirabox_attacks [MEDIA CONFIG KILLS]}
status=0
run() {
  timeout "$1" "$driver" "$2" "$3" || status=1
}
run 1800 media "${2:-200}"
run 900 config "${3:-120}"
run 900 kill "${4:-350}"
exit $status
