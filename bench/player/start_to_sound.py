#!/usr/bin/python3
"""Start -> first sound: from starting a player on the recording to the first
sound in the null sink's monitor (key_to_sound.Monitor: the same clock and
recording), and for Lirabox also to its first published position (the
position file Timepost writes). With --mpv, mpv on the same recording, and
with --engine, the sound engine alone (engine_first_sound: no window, no
settings) take turns with Lirabox; RUNS starts each; prints the best and the
median of each.

  start_to_sound.py RUNS RECORDING_SECONDS POSITION_FILE [--mpv RECORDING] [--engine ENGINE RECORDING]
                    -- LIRABOX COMMAND...
"""

import os
import statistics
import subprocess
import sys
import time

from key_to_sound import Monitor


def start(monitor, command, position_file=None):
    """Milliseconds from the start of the command to its first sound (and to
    the position file's first appearance); the player is ended afterwards and
    the sink is silent again."""
    if position_file and os.path.exists(position_file):
        os.remove(position_file)
    began = time.monotonic()
    player = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    first = monitor.block_at(began)
    published = None

    def position_published(_):
        nonlocal published
        if published is None and position_file and os.path.exists(position_file):
            published = time.monotonic()
        return published is not None

    def sound_heard(index):
        position_published(index)
        return monitor.blocks[index][1] is not None

    sound = monitor.wait_for(first, sound_heard, limit=30)
    if position_file:
        monitor.wait_for(len(monitor.blocks), position_published, limit=30,
                         failure=f"no position in {position_file} within 30 s")
    player.terminate()
    player.wait()
    monitor.wait_for(len(monitor.blocks), lambda i: monitor.blocks[i][1] is None, limit=30)
    return ((monitor.time_of(sound) - began) * 1000, (published - began) * 1000 if published else None)


def main():
    runs, seconds, position_file = int(sys.argv[1]), float(sys.argv[2]), sys.argv[3]
    options = sys.argv[4:sys.argv.index("--")]
    command = sys.argv[sys.argv.index("--") + 1:]
    others = {}
    if "--mpv" in options:
        recording = options[options.index("--mpv") + 1]
        others["mpv --no-video: start -> first sound"] = ["mpv", "--no-config", "--no-video", "--ao=pulse", recording]
    if "--engine" in options:
        others["the engine alone: start -> first sound"] = options[options.index("--engine") + 1:][:2]
    monitor = Monitor(seconds)
    ours, published = [], []
    heard = {name: [] for name in others}
    for _ in range(runs):
        sound, shown = start(monitor, command, position_file)
        ours.append(sound)
        published.append(shown)
        for name, other in others.items():
            heard[name].append(start(monitor, other)[0])
    monitor.recorder.terminate()
    rows = [("lirabox: start -> first sound", ours), ("lirabox: start -> first published position", published)]
    rows += heard.items()
    mpv = heard.get("mpv --no-video: start -> first sound")
    for name, values in rows:
        print(f"| {name} | {min(values):.0f} ms | {statistics.median(values):.0f} ms |")
    if mpv:
        print(f"| ratio lirabox first position / mpv first sound | {min(published) / min(mpv):.2f} | "
              f"{statistics.median(published) / statistics.median(mpv):.2f} |")


if __name__ == "__main__":
    main()
