#!/usr/bin/env bash
# The running program attacked from outside, on the private session bus and X
# display it is given (run.sh runs it under dbus-run-session and
# tests/with-xvfb.sh --wm):
#
#   bus   while a recording plays, CALLS failed OpenUri calls from CLIENTS
#         clients at once, then hostile calls (a URI with a NUL, a web URI, a
#         100 KB file name, values of the wrong type, seeks far out of range)
#   slow  a recording whose every open is held back DELAY s (strace), opened
#         from the bus: how long the program takes to answer meanwhile, and
#         Ctrl+Q during the wait; then the program started on it: its window
#         shows while the open is held back
#
#   tests/attacks/program.sh PATH/TO/lirabox CALLS CLIENTS DELAY
#
# Prints the counts and figures; the exit status is 1 when the program
# crashed, answered a call otherwise than expected, showed a message box,
# grew by more than 10 MiB, stopped playing the recording, did not quit
# while the slow open was still held back, or showed no window then.
set -uo pipefail
program=${1:?usage: program.sh PATH/TO/lirabox CALLS CLIENTS DELAY}
calls=${2:?} clients=${3:?} delay=${4:?}

work=$(mktemp -d /tmp/lirabox-program-attack-XXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

faults=0
fault() { echo "program attack: FAULT: $*" >&2; faults=$((faults + 1)); }

# A copy of the program in a folder of its own, as installed; its settings there.
mkdir -p "$work/install" "$work/config" "$work/run"
chmod 700 "$work/run"
cp "$program" "$(dirname "$program")/liblirabox.so" "$(dirname "$program")/liblirabox-start.so" "$work/install/"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" LANGUAGE=ja
unset QT_QPA_PLATFORM
ffmpeg -v error -f lavfi -i sine=frequency=440:duration=120 -ar 8000 "$work/talk.wav"
cp "$work/talk.wav" "$work/far away.wav"

millis() { echo $((${EPOCHREALTIME/./} / 1000)); }
# Polls CONDITION (a command) until it holds or SECONDS have passed.
wait_for() {
  local seconds=$1 until
  shift
  until=$(($(millis) + seconds * 1000))
  until "$@"; do
    (($(millis) < until)) || return 1
    sleep 0.05
  done
}
bus() {
  timeout 20 gdbus call --session --dest org.mpris.MediaPlayer2.lirabox --object-path /org/mpris/MediaPlayer2 \
    --method "$@" 2>&1
}
# The playing status, asked with the lightest client, so its time is the program's answer.
status_now() {
  timeout 20 dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.lirabox /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player string:PlaybackStatus 2>&1
}
status_is() { [[ $(timeout 10 playerctl -p lirabox status 2>/dev/null) == "$1" ]]; }
resident_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
window_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -1; }
# Ctrl+Q on the keyboard, with the window in front.
press_quit() {
  timeout 5 xdotool windowactivate --sync "$1"
  xdotool key --clearmodifiers ctrl+q
}
dialogs_of() {
  local window count=0
  for window in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    xprop -id "$window" _NET_WM_WINDOW_TYPE | grep -q DIALOG && count=$((count + 1))
  done
  echo "$count"
}
# Sends CALL's arguments and counts a fault unless the answer holds EXPECTED.
expect_answer() {
  local expected=$1 answer
  shift
  answer=$(bus "$@")
  [[ $answer == *"$expected"* ]] || fault "$* answered ${answer:0:200}, not $expected"
}

# --- bus ---------------------------------------------------------------------
# (Under AddressSanitizer freed memory is held in quarantine; kept small, the
# growth measured is the program's own.)
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=1" "$work/install/lirabox" "$work/talk.wav" >"$work/bus.log" 2>&1 &
pid=$!
pids+=("$pid")
wait_for 30 status_is Playing || fault "the program did not start playing: $(cat "$work/bus.log")"
bus org.mpris.MediaPlayer2.Player.OpenUri file:///nowhere/warm-up.wav >/dev/null
before=$(resident_kib "$pid")
started=$(millis)
per_client=$(((calls + clients - 1) / clients))
failed=$(for c in $(seq "$clients"); do
  (for i in $(seq "$per_client"); do bus org.mpris.MediaPlayer2.Player.OpenUri "file:///nowhere/$c-$i.wav"; done) &
done | grep -c 'Error.Failed')
flood_seconds=$((($(millis) - started) / 1000))
((failed == clients * per_client)) || fault "$failed of $((clients * per_client)) failed opens answered as failed"

expect_answer InvalidArgs org.mpris.MediaPlayer2.Player.OpenUri "file://$work/talk.wav%00.txt"
expect_answer NotSupported org.mpris.MediaPlayer2.Player.OpenUri "https://example.invalid/talk.wav"
expect_answer Error.Failed org.mpris.MediaPlayer2.Player.OpenUri "file:///$(head -c 100000 /dev/zero | tr '\0' a)"
for wrong in "Rate <'fast'>" "Rate <'2.0'>" "Rate <2>" "Volume <true>" "Volume <'0.5'>"; do
  # shellcheck disable=SC2086 # the property and its value are two words
  expect_answer InvalidArgs org.freedesktop.DBus.Properties.Set org.mpris.MediaPlayer2.Player $wrong
done
expect_answer PropertyReadOnly org.freedesktop.DBus.Properties.Set org.mpris.MediaPlayer2.Player Position "<int64 0>"
expect_answer "()" org.freedesktop.DBus.Properties.Set org.mpris.MediaPlayer2.Player Rate "<1e308>"
expect_answer "()" org.freedesktop.DBus.Properties.Set org.mpris.MediaPlayer2.Player Volume "<-1e308>"
expect_answer "()" org.mpris.MediaPlayer2.Player.Seek -- 9223372036854775807
expect_answer "()" org.mpris.MediaPlayer2.Player.Seek -- -9223372036854775807
expect_answer "()" org.mpris.MediaPlayer2.Player.SetPosition /org/lirabox/track/nowhere -- -1
expect_answer "()" org.mpris.MediaPlayer2.Player.Play

after=$(resident_kib "$pid")
kill -0 "$pid" 2>/dev/null || fault "the program ended: $(cat "$work/bus.log")"
status_is Playing || fault "the recording no longer plays"
[[ $(timeout 10 playerctl -p lirabox metadata xesam:title) == talk.wav ]] || fault "another recording is loaded"
[[ $(dialogs_of "$pid") == 0 ]] || fault "$(dialogs_of "$pid") message boxes are up"
grown=$(((after - before) / 1024))
((after - before < 10 * 1024)) || fault "the program grew by $grown MiB"
bus org.mpris.MediaPlayer2.Quit >/dev/null
wait "$pid" || fault "the program ended with status $? after Quit"
echo "bus: $failed failed opens from $clients clients answered as failed in $flood_seconds s," \
  "hostile calls answered as expected; memory ${before} -> ${after} KiB; no message box; still playing"

# --- slow --------------------------------------------------------------------
held="$work/far away.wav"
inject="inject=openat:delay_enter=${delay}000000"
# A thread of process PID stopped by its tracer inside openat (257 on x86-64).
holding() {
  local task
  for task in /proc/"$1"/task/*; do
    [[ $(awk '{ print $3 }' "$task/stat" 2>/dev/null) == t && $(cut -d' ' -f1 "$task/syscall" 2>/dev/null) == 257 ]] &&
      return 0
  done
  return 1
}
all_traced() { ! grep -qs '^TracerPid:[[:space:]]*0$' /proc/"$1"/task/*/status; }
has_window() { [[ -n $(window_of "$1") ]]; }
ended() { [[ ! -e /proc/$1/stat || $(awk '{ print $3 }' "/proc/$1/stat") == Z ]]; }

# Opened from the bus while the window is up: the window goes on answering.
"$work/install/lirabox" >"$work/slow.log" 2>&1 &
pid=$!
pids+=("$pid")
wait_for 30 has_window "$pid" || fault "no window showed: $(cat "$work/slow.log")"
window=$(window_of "$pid")
wait_for 30 status_is Stopped || fault "the program is not on the bus"
strace -f -qq -o /dev/null -p "$pid" -P "$held" -e trace=openat -e "$inject" 2>/dev/null &
tracer=$!
pids+=("$tracer")
wait_for 30 all_traced "$pid" || fault "strace did not attach"
started=$(millis)
bus org.mpris.MediaPlayer2.Player.OpenUri "file://$held" >/dev/null &
wait_for 10 holding "$pid" || fault "the open was not held back"
slowest=0 answers=0
while holding "$pid" && (($(millis) - started < delay * 1000 - 2000)); do
  asked=$(millis)
  answer=$(status_now)
  took=$(($(millis) - asked))
  [[ $answer == *Stopped* ]] || fault "the status during the slow open was ${answer:0:200}"
  ((took > slowest)) && slowest=$took
  answers=$((answers + 1))
done
asked=$(millis)
status_now >/dev/null
idle_ms=$(($(millis) - asked))
press_quit "$window"
pressed=$(millis)
wait_for $((delay + 10)) ended "$pid" || fault "Ctrl+Q did not end the program"
quit_ms=$(($(millis) - pressed))
holding "$pid" || (($(millis) - started < delay * 1000)) || fault "the program ended only once its open was let go"
kill -9 "$tracer" 2>/dev/null
wait "$tracer" 2>/dev/null
# Until its last thread has gone, the program still holds its single-instance lock.
wait "$pid" 2>/dev/null
echo "slow: an open from the bus held back $delay s; $answers bus calls during the wait, the slowest answered" \
  "in $slowest ms (an idle call: $idle_ms ms, dbus-send's start included); Ctrl+Q ended the program after $quit_ms ms"

# Started on such a recording: its window shows, and Ctrl+Q ends it, while the open waits.
started=$(millis)
strace -f -qq -o /dev/null -P "$held" -e trace=openat -e "$inject" "$work/install/lirabox" "$held" \
  >"$work/start.log" 2>&1 &
tracer=$!
pids+=("$tracer")
program_pid() { pgrep -P "$tracer" -x lirabox >/dev/null; }
wait_for 30 program_pid || fault "the program did not start under strace"
pid=$(pgrep -P "$tracer" -x lirabox)
wait_for $((delay + 30)) has_window "$pid" || fault "no window showed: $(cat "$work/start.log")"
window_ms=$(($(millis) - started))
holding "$pid" || fault "the window showed only once the open was let go (after $window_ms ms)"
ended "$pid" && fault "the program ended by itself: $(cat "$work/start.log")"
[[ $(dialogs_of "$pid") == 0 ]] || fault "a message box showed: $(cat "$work/start.log")"
press_quit "$(window_of "$pid")"
pressed=$(millis)
wait_for 30 ended "$pid" || fault "Ctrl+Q did not end the program started on a slow recording"
quit_ms=$(($(millis) - pressed))
holding "$pid" || (($(millis) - started < delay * 1000)) || fault "the program ended only once its open was let go"
kill -9 "$tracer" 2>/dev/null
wait "$tracer" 2>/dev/null
echo "slow start: started on a recording held back $delay s, the window showed after $window_ms ms;" \
  "Ctrl+Q ended the program after $quit_ms ms"

((faults == 0)) || {
  echo "program attack: $faults faults" >&2
  exit 1
}
