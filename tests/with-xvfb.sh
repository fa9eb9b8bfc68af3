#!/usr/bin/env bash
# Runs a command on a private Xvfb display (and, with --wm, under openbox),
# then tears the display down. Used by the tests that need a real X server.
# Listing a test binary's cases (--gtest_list_tests) needs no display: the
# command then runs at once, with Qt offscreen.
set -euo pipefail

wm=0
if [[ "${1:-}" == "--wm" ]]; then wm=1; shift; fi

for argument in "$@"; do
  if [[ "$argument" == "--gtest_list_tests" ]]; then
    QT_QPA_PLATFORM=offscreen exec "$@"
  fi
done

fifo_dir=$(mktemp -d)
trap 'rm -rf "$fifo_dir"' EXIT
mkfifo "$fifo_dir/display"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp +extension XInputExtension \
  3>"$fifo_dir/display" 2>"$fifo_dir/xvfb.log" &
xvfb_pid=$!
read -r display_number <"$fifo_dir/display"
export DISPLAY=":$display_number"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
# Without a session bus, libdbus would fork dbus-launch from whichever thread
# of the program first asks for one, and a fork taken while another thread
# holds the sanitizer's allocator lock leaves a child that never execs and a
# program that waits for it. An address that fails at once means the same: no bus.
export DBUS_SESSION_BUS_ADDRESS="${DBUS_SESSION_BUS_ADDRESS:-unix:path=$fifo_dir/no-session-bus}"

wm_pid=""
if (( wm )); then
  # Openbox's defaults, without the user's configuration; an empty file would
  # put a "syntax error" window on the screen.
  echo '<openbox_config xmlns="http://openbox.org/3.4/rc"/>' >"$fifo_dir/openbox.xml"
  openbox --sm-disable --config-file "$fifo_dir/openbox.xml" >/dev/null 2>&1 &
  wm_pid=$!
  # Wait until the window manager has claimed the screen.
  for _ in $(seq 1 100); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then break; fi
    sleep 0.05
  done
fi

status=0
"$@" || status=$?

[[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
kill "$xvfb_pid" 2>/dev/null || true
wait 2>/dev/null || true
exit "$status"
