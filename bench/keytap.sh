#!/usr/bin/env bash
# Keytap benchmarks: the cost of matching one key event against the table, and
# the time from an xdotool key press to the ClientMessage at the target window
# (median and 99th percentile over 200 presses), on a private Xvfb display.
#   bash bench/keytap.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: bench/keytap.sh BUILD_DIR}

"$build/bin/keytap_match_bench" --benchmark_min_time=0.2
tests/with-xvfb.sh "$build/bin/keytap_latency_bench" "$build/bin/libkeytap.so" 200
