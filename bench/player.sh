#!/usr/bin/env bash
# The player's start-up time against plain mpv, its SetTime rate while playing
# and its CPU while playing and while paused, under Xvfb with a window manager.
#   bash bench/player.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: bench/player.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tests/with-xvfb.sh" --wm "$build/bin/player_bench" "$build/bin/demo.wav"
