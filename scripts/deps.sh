#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Lirabox
# needs. Does nothing when they are all there already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git
  clang libclang-rt-14-dev                   # libFuzzer targets
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev libxkbcommon-dev
  qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools # the translations: lupdate, lrelease, Qt6LinguistTools
  at-spi2-core                               # the English end-to-end test reads the windows as a screen reader
  qt6-wayland                                # runs in Wayland sessions without X
  weston                                     # a headless Wayland compositor for the tests
  xdg-desktop-portal python3-gi              # the global keys on Wayland: the real portal frontend, and the tests' backend (GLib's D-Bus from Python)
  libmpv-dev mpv ffmpeg
  libavformat-dev libavcodec-dev libavutil-dev # the seek bar's loudness envelope, decoded apart from libmpv
  libx11-dev libxi-dev libxtst-dev libxcb1-dev
  xvfb xauth xdotool x11-utils openbox
  x11-xkb-utils                              # setxkbmap: the time stamp test on a German layout
  espeak-ng fonts-noto-cjk
  xdg-utils                                  # opens the help file with the desktop's viewer
  e2fsprogs                                  # chattr, for the read-only file tests
  dbus dbus-bin playerctl libglib2.0-bin     # the media-key interface's tests: a private bus, playerctl, gdbus
  desktop-file-utils appstream groff-base    # validators of the desktop entry, AppStream data, man page
  librsvg2-bin                               # scripts/make-icons.sh
  strace                                     # slows the open of a recording in the engine tests
  dpkg-dev file                              # the Debian package's dependencies (dpkg-shlibdeps, as CPack calls it)
  libreoffice-writer mousepad xclip          # time stamps typed into real editors, read back through the clipboard
)

bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
