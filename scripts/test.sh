#!/usr/bin/env bash
# Installs what is needed, builds Lirabox and runs every test.
#   bash scripts/test.sh             plain build in build/, then the Windows
#                                    tree in build-windows/ and its tests under
#                                    Wine (scripts/test-windows.sh)
#   bash scripts/test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build_dir=build
# The tests and benchmarks named: a tree scripts/run.sh began leaves them out.
cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLIRABOX_TESTS=ON -DLIRABOX_BENCH=ON)
windows=1
if [[ "${1:-}" == "--sanitize" ]]; then
  windows=0
  build_dir=build-asan
  cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DLIRABOX_SANITIZE=ON -DLIRABOX_TESTS=ON -DLIRABOX_BENCH=OFF)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi

cmake -S . -B "$build_dir" "${cmake_args[@]}"
cmake --build "$build_dir" -j "$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure -j 2
if (( windows )); then
  bash scripts/test-windows.sh
fi
