#!/usr/bin/env bash
# Builds the Debian package build-deb/lirabox_<version>_<arch>.deb from a
# Release tree without tests or benchmarks. Install it with
#   sudo apt install ./build-deb/lirabox_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
# The deb preset: Release at -O2 with the hardening flags, as Debian builds its
# packages (dpkg-buildflags: fortified calls, stack protection, relro, bindnow).
cmake --preset deb >/dev/null
cmake --build build-deb -j "$(nproc)"
(cd build-deb && cpack -G DEB)
