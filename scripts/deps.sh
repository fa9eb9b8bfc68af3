#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Lirabox
# need: what scripts/deps-run.sh installs for building and running, and here
# what the tests, benchmarks and packaging add. Does nothing when they are all
# there already.
set -euo pipefail

bash "$(dirname "$0")/deps-run.sh"

packages=(
  git
  clang libclang-rt-14-dev                   # libFuzzer targets
  libgtest-dev libgmock-dev libbenchmark-dev
  at-spi2-core                               # the English end-to-end test reads the windows as a screen reader
  weston                                     # a headless Wayland compositor for the tests
  xdg-desktop-portal python3-gi              # the global keys on Wayland: the real portal frontend, and the tests' backend (GLib's D-Bus from Python)
  kwin-wayland xdg-desktop-portal-kde qtwayland5  # the global keys through KDE Plasma's compositor, shortcut service and portal
  mpv ffmpeg                                 # recordings for the engine tests in every format
  xvfb xauth xdotool x11-utils openbox
  x11-xkb-utils                              # setxkbmap: the time stamp test on a German layout
  e2fsprogs                                  # chattr, for the read-only file tests
  dbus dbus-bin playerctl libglib2.0-bin     # the media-key interface's tests: a private bus, playerctl, gdbus
  desktop-file-utils appstream groff-base    # validators of the desktop entry, AppStream data, man page
  librsvg2-bin                               # scripts/make-icons.sh
  strace                                     # slows the open of a recording in the engine tests
  pulseaudio pulseaudio-utils                # the benchmarks' private sound server (a null sink) and its recorder
  dpkg-dev file                              # the Debian package's dependencies (dpkg-shlibdeps, as CPack calls it)
  lintian                                    # the Debian package checked as Debian checks its own
  libreoffice-writer mousepad xclip          # time stamps typed into real editors, read back through the clipboard
)

bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
