#!/usr/bin/env bash
# Installs what is needed, builds Lirabox and starts it on the given recording,
# or on the bundled demo recording when none is given.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

if (( $# == 0 )); then
  exec build/bin/lirabox "$PWD/build/bin/demo.wav"
fi
exec build/bin/lirabox "$@"
