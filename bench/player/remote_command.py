#!/usr/bin/python3
"""Times `lirabox --command goto SECONDS`: from starting the sending process
to the running copy's jump (its media-player interface's Seeked signal), and
the sending process's own run to its exit. Prints the medians and p99 of RUNS
commands.  remote_command.py PROGRAM RUNS  (on the session bus of a running copy)"""

import statistics
import subprocess
import sys
import time

from gi.repository import Gio, GLib


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def main(program, runs):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    seeked = []
    bus.signal_subscribe(None, "org.mpris.MediaPlayer2.Player", "Seeked", "/org/mpris/MediaPlayer2", None,
                         Gio.DBusSignalFlags.NONE, lambda *_: seeked.append(time.monotonic()), None)
    context = GLib.MainContext.default()
    to_running, to_exit = [], []
    for run in range(runs):
        seeked.clear()
        started = time.monotonic()
        sender = subprocess.Popen([program, "--command", "goto", str(10 + run % 50)])
        deadline = started + 10
        while not seeked and time.monotonic() < deadline:
            context.iteration(True) if context.pending() else time.sleep(0.0005)
        status = sender.wait()
        ended = time.monotonic()
        if status != 0 or not seeked:
            sys.exit(f"run {run}: exit status {status}, seeked: {bool(seeked)}")
        to_running.append((seeked[0] - started) * 1000)
        to_exit.append((ended - started) * 1000)
    for name, values in (("command start -> command running", to_running), ("command start -> sender exits", to_exit)):
        print(f"| {name} | {statistics.median(values):.1f} ms | {percentile(values, 0.99):.1f} ms |")


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]))
