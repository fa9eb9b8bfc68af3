#!/usr/bin/env bash
# Installs the Debian 12 packages the Windows build and its tests
# under Wine need: the mingw-w64 cross compiler, GoogleTest's sources, Wine
# (64-bit only), a display with a window manager, the GStreamer plug-ins Wine
# decodes media with, a private sound server to capture what is played, and
# NSIS and zip for what is handed to users.
# Does nothing when they are all there already.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest                                 # sources, built with the cross compiler
  wine wine64
  xvfb xauth xdotool x11-utils openbox
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
  pulseaudio libasound2-plugins              # a null sink on a private socket, reached through ALSA
  nsis zip                                   # the installer and the zip handed to users
  ffmpeg e2fsprogs                           # the engine tests' recordings; chattr for the read-only folder test
  locales                                    # ja_JP compiled by a test, for a program in Japanese under Wine
  strace                                     # holds back the reads of a recording, as a slow disk does
)

bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
