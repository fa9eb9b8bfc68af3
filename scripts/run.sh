#!/usr/bin/env bash
# Installs what is needed, builds Lirabox and starts it on the given recording,
# or on the bundled demo recording when none is given.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps-run.sh
# A new tree leaves the tests and benchmarks out, whose packages are not
# installed here; a tree scripts/test.sh configured keeps them.
if [[ -f build/CMakeCache.txt ]]; then
  cmake -S . -B build >/dev/null
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLIRABOX_TESTS=OFF -DLIRABOX_BENCH=OFF >/dev/null
fi
# Only the program and what it loads (libtimepost.so, libkeytap.so, the demo
# recording).
cmake --build build -j "$(nproc)" --target lirabox

if (( $# == 0 )); then
  exec build/bin/lirabox "$PWD/build/bin/demo.wav"
fi
exec build/bin/lirabox "$@"
