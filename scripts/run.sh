#!/usr/bin/env bash
# Installs what is needed, builds Lirabox and starts it on the given recording,
# or on the bundled demo recording when none is given.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only the program and what it loads (libtimepost.so, libkeytap.so, the demo
# recording): the tests and benchmarks are built by scripts/test.sh and bench.sh.
cmake --build build -j "$(nproc)" --target lirabox

if (( $# == 0 )); then
  exec build/bin/lirabox "$PWD/build/bin/demo.wav"
fi
exec build/bin/lirabox "$@"
