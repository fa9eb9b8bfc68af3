#!/usr/bin/env bash
# Builds Lirabox with optimisation and runs every benchmark in bench/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake --preset bench >/dev/null
cmake --build build-bench -j "$(nproc)"
for bench in bench/*.sh; do
  echo "== $bench"
  bash "$bench" build-bench
done
