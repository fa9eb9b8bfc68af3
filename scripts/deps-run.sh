#!/usr/bin/env bash
# Installs the Debian 12 packages that building and running Lirabox need, and
# nothing for the tests (scripts/deps.sh adds those). Does nothing when they
# are all there already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev libxkbcommon-dev
  qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools # the translations: lupdate, lrelease, Qt6LinguistTools
  qt6-wayland                                # runs in Wayland sessions without X
  libmpv-dev
  libdbus-1-dev                              # `lirabox --command` sends through libdbus alone, so it starts fast
  libavformat-dev libavcodec-dev libavutil-dev # the seek bar's loudness envelope, decoded apart from libmpv
  libx11-dev libxi-dev libxtst-dev libxcb1-dev
  espeak-ng                                  # speaks the demo recording
  fonts-noto-cjk                             # the window's Japanese texts
  xdg-utils                                  # opens the user guide with the desktop's viewer
)

bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
