#!/usr/bin/env bash
# Cross-builds the Windows (preview) tree with mingw-w64 and collects
#   lirabox-windows/   Keytap.dll, Timepost.dll and the test programs
# 64-bit only; the runtime is linked statically, so nothing else goes beside them.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps-windows.sh

cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
cmake --build build-windows -j "$(nproc)"

rm -rf lirabox-windows
mkdir -p lirabox-windows
cp build-windows/bin/*.dll build-windows/bin/*.exe lirabox-windows/
echo "lirabox-windows/: $(cd lirabox-windows && echo *)"
