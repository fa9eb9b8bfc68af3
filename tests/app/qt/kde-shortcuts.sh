#!/usr/bin/env bash
# The program's global keys through KDE Plasma's own parts: KWin on its
# virtual output (which runs KDE's global-shortcut service), KDE's portal
# backend and the real xdg-desktop-portal frontend, on a private session bus.
# KDE lists the program's commands under one component; a shortcut of it is
# fired through the shortcut service (as a key assigned in System Settings
# would fire it), and the player's answer is read on its MPRIS interface.
#
#   kde-shortcuts.sh PROGRAM   (the built lirabox; its folder's libraries are copied with it)
set -euo pipefail
program=$(realpath "$1")

if [[ -z "${LIRABOX_KDE_BUS:-}" ]]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -m 700 "$work/run"
  # The desktop and its display must be known to the bus before it starts the
  # portal and KDE's backend: they get the bus's environment.
  export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    XDG_CACHE_HOME="$work/cache" XDG_CURRENT_DESKTOP=KDE XDG_DESKTOP_PORTAL_DIR=/usr/share/xdg-desktop-portal/portals \
    WAYLAND_DISPLAY=wayland-kde QT_QPA_PLATFORM=wayland
  unset DISPLAY
  LIRABOX_KDE_BUS=1 WORK="$work" dbus-run-session -- "$0" "$@"
  exit
fi

children=()
cleanup() { for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done; wait 2>/dev/null || true; }
trap cleanup EXIT

# Polls a condition until it holds, for at most 60 s.
wait_for() {
  local what=$1; shift
  for _ in $(seq 600); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  echo "FAILED: $what" >&2
  for log in "$WORK"/*.log; do echo "--- $log"; grep -v '^ALSA lib' "$log" | tail -20; done >&2
  exit 1
}

# KWin carries a file capability that a container may not grant; a copy runs without it.
cp /usr/bin/kwin_wayland "$WORK/kwin_wayland"
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$WORK/kwin_wayland" --virtual --no-lockscreen --socket wayland-kde --width 800 --height 600 >"$WORK/kwin.log" 2>&1 &
children+=($!)
has_name() { gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
  --method org.freedesktop.DBus.NameHasOwner "$1" | grep -q true; }
wait_for "KWin's shortcut service" has_name org.kde.kglobalaccel

folder="$WORK/program"
mkdir "$folder"
cp "$program" "$(dirname "$program")"/lib*.so "$folder/"
python3 - "$folder/talk.wav" <<'EOF'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(1); out.setsampwidth(2); out.setframerate(8000)
    out.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(i * 2 * math.pi * 440 / 8000)))
                             for i in range(8000 * 120)))
EOF
printf '[Config]\nRewind=5\nForward=5\nAutorev=0\n' >"$folder/UserCfg.ini"
printf '[ID00]\nID=0\nKeyCode=120\nKeyDestroy=0\nShiftStatus=0\n' >"$folder/config.ini"  # F9 for play/pause
"$folder/lirabox" "$folder/talk.wav" >"$WORK/lirabox.log" 2>&1 &
children+=($!)

mpris() {
  gdbus call --session --dest org.mpris.MediaPlayer2.lirabox --object-path /org/mpris/MediaPlayer2 \
    --method org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player "$1"
}
status_is() { mpris PlaybackStatus | grep -q "'$1'"; }
seconds() { mpris Position | sed -E 's/.*int64 ([0-9-]+).*/\1/' | awk '{ printf "%d", $1 / 1e6 }'; }
shortcuts() {
  gdbus call --session --dest org.kde.kglobalaccel --object-path /component/lirabox \
    --method org.kde.kglobalaccel.Component.shortcutNames
}
fire() {
  gdbus call --session --dest org.kde.kglobalaccel --object-path /component/lirabox \
    --method org.kde.kglobalaccel.Component.invokeShortcut "$1" default >/dev/null
}

wait_for "the player plays" status_is Playing
wait_for "KDE lists the ten commands under \"lirabox\"" \
  bash -c "$(declare -f shortcuts); [[ \$(shortcuts | grep -o \"'[a-z-]*'\" | wc -l) == 10 ]]"

# The row's key reached KDE as the shortcut's key: F9 is Qt's key 0x01000038.
infos=$(gdbus call --session --dest org.kde.kglobalaccel --object-path /component/lirabox \
  --method org.kde.kglobalaccel.Component.allShortcutInfos)
if ! grep -q "('play-pause', [^)]*\[16777272\]" <<<"$infos"; then
  echo "FAILED: play/pause is not on F9 in KDE: $infos" >&2
  exit 1
fi

fire play-pause
wait_for "play/pause from KDE pauses" status_is Paused
before=$(seconds)
fire forward
wait_for "fast-forward from KDE moves 5 s on" bash -c "$(declare -f mpris seconds); (( \$(seconds) >= $before + 4 ))"
fire play-pause
wait_for "play/pause from KDE plays again" status_is Playing

if grep -q "shortcut keys are off" "$WORK/lirabox.log"; then
  echo "FAILED: the program says its keys are off" >&2
  exit 1
fi
echo "KDE's shortcut service ran play/pause and fast-forward"
