#!/usr/bin/env bash
# Shortcut-key benchmark: the time from an xdotool key press to the player's
# command handler (libkeytap.so, the X server, Qt's event loop and the
# key-message handling), median and 99th percentile over 200 presses, on a
# private Xvfb display. Then the time to type a time stamp into another
# client's window (call to last key release, and the X server's time span).
#   bash bench/hotkeys.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: bench/hotkeys.sh BUILD_DIR}

tests/with-xvfb.sh "$build/bin/hotkeys_latency_bench" 200
tests/with-xvfb.sh "$build/bin/hotkeys_timestamp_typing_bench" 100
