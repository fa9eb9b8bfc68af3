#!/usr/bin/env bash
# Takes the README's picture of the main window playing the demo recording,
# or with --oneline the notes' picture of the one-line window, in Japanese or
# with LANGUAGE=en in English:
#   [LANGUAGE=en] bash tests/app/qt/make-screenshot.sh BUILD_DIR OUT.png [--oneline]
set -euo pipefail
here=$(cd "$(dirname "$0")/../../.." && pwd)
build=$(cd "${1:?usage: make-screenshot.sh BUILD_DIR OUT.png}" && pwd)
out=$(realpath -m "${2:?usage: make-screenshot.sh BUILD_DIR OUT.png}")

if [[ "${LIRABOX_ON_DISPLAY:-}" != 1 ]]; then
  LIRABOX_ON_DISPLAY=1 exec "$here/tests/with-xvfb.sh" --wm bash "$0" "$build" "$out" "${3:-}"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cp "$build/bin/lirabox" "$build/bin/liblirabox.so" "$build/bin/liblirabox-start.so" "$build/bin/libtimepost.so" "$work/"
mkdir -m 700 "$work/runtime"
# Away from the screen's corner, so the whole frame is in the picture.
printf '[FormPosition]\nMinimized=0\nMaximized=0\nTop=24\nLeft=24\n' >"$work/position.ini"
LANGUAGE="${LANGUAGE:-ja}" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
  "$work/lirabox" "$build/bin/demo.wav/t=7" >"$work/lirabox.log" 2>&1 &
pid=$!

window=""
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --pid "$pid" --name '^Lirabox$' 2>/dev/null | head -n1) && [[ -n "$window" ]] && break
  sleep 0.1
done
[[ -n "$window" ]] || { echo "the window did not show" >&2; exit 1; }
if [[ "${3:-}" == --oneline ]]; then
  main=$window
  xdotool windowactivate --sync "$main" key --clearmodifiers alt+Return
  for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name '^Lirabox$' 2>/dev/null | grep -vx "$main" | head -n1) &&
      [[ -n "$window" ]] && break
    sleep 0.1
  done
  [[ -n "$window" ]] || { echo "the one-line window did not show" >&2; exit 1; }
  xdotool windowmove "$window" 24 24
fi
# Once the position has moved on a little from the start second.
for _ in $(seq 1 300); do
  read -r seconds _ 2>/dev/null <"$work/runtime/lirabox/position" && (( ${seconds%.*} >= 9 )) && break
  sleep 0.1
done

# The window's place on the screen and the frame around it (left, right, top, bottom).
x=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
y=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
width=$(xwininfo -id "$window" | sed -n 's/.*Width: *//p')
height=$(xwininfo -id "$window" | sed -n 's/.*Height: *//p')
read -r fl fr ft fb < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
"$build/bin/lirabox_screen_grab" "$out" $((x - fl)) $((y - ft)) $((width + fl + fr)) $((height + ft + fb))
echo "saved $out"
