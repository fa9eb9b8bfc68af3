#!/usr/bin/python3
"""Key press -> what the listener hears. Presses global keys through XTEST and
finds in the null sink's monitor (PULSE_SERVER, sink "bench") when the sound
stops (pause), starts again (play, with its step back), and jumps (rewind,
fast-forward). Prints the median and p99 of each, in milliseconds.

The recording holds two tones: 1 kHz whose level rises evenly with the
position, and 2 kHz at a fixed level. Every 1 ms block (48 samples at 48 kHz)
holds whole periods of both, so their levels come out exact, and their ratio
gives the position whatever the volume: a jump is a block whose position is
off the one before by more than LEAP seconds. The monitor's samples are put on
CLOCK_MONOTONIC through the earliest arrival of each read (the null sink
renders on that clock), the same clock the key presses are stamped with. The
sink renders up to its block (the 2 ms the recorder asks for) ahead of time,
so each sample counts as heard one block after that arrival: a sound card
adds its own buffer on top, the same for every program.

  key_to_sound.py CYCLES RECORDING_SECONDS [--before-keys SHELL_COMMAND] -- PLAYER COMMAND...
  (keys: F9 play/pause, F7 rewind, F8 fast-forward; the player is started here,
  in this environment. A bash command given with --before-keys runs once the
  player is heard, before the first press: to bring another window to the front,
  say. The keys go to whichever window has the focus then.)
"""

import ctypes
import math
import os
import statistics
import subprocess
import sys
import time

RATE = 48000
BLOCK = 48
LOW, HIGH = 0.1, 0.9  # the 1 kHz tone's level relative to the 2 kHz tone, from start to end
LATENCY = 0.002  # seconds: the null sink's block, as the recorder asks for it
LEAP = 0.8  # seconds: a block further than this from the last steady position is a jump
SHORTEST_PAUSE = 150  # blocks: the presses leave 200 ms of silence at each pause

SIN1 = [math.sin(2 * math.pi * i / BLOCK) for i in range(BLOCK)]
COS1 = [math.cos(2 * math.pi * i / BLOCK) for i in range(BLOCK)]
SIN2 = [math.sin(4 * math.pi * i / BLOCK) for i in range(BLOCK)]
COS2 = [math.cos(4 * math.pi * i / BLOCK) for i in range(BLOCK)]


def level(block, s, c):
    return 2 / BLOCK * math.hypot(sum(map(float.__mul__, block, s)), sum(map(float.__mul__, block, c)))


class Monitor:
    """The null sink's monitor, read block by block: per block the 2 kHz level
    and the position the two tones give."""

    def __init__(self, seconds):
        self.seconds = seconds
        self.recorder = subprocess.Popen(
            ["parec", "--raw", "--format=float32le", f"--rate={RATE}", "--channels=1", f"--latency-msec={LATENCY * 1000:.0f}",
             "--device=bench.monitor"], stdout=subprocess.PIPE)
        self.pending = bytearray()
        self.samples = 0
        self.offset = math.inf  # CLOCK_MONOTONIC of sample 0, earliest arrival
        self.blocks = []  # (2 kHz level, position or None when silent)

    def read(self):
        data = os.read(self.recorder.stdout.fileno(), 65536)
        arrived = time.monotonic()
        if not data:
            sys.exit("the recorder ended")
        self.pending += data
        self.samples += len(data) // 4
        self.offset = min(self.offset, arrived - self.samples / RATE)
        whole = len(self.pending) // (4 * BLOCK) * 4 * BLOCK
        values = memoryview(bytes(self.pending[:whole])).cast("f")
        del self.pending[:whole]
        for start in range(0, len(values), BLOCK):
            block = values[start:start + BLOCK].tolist()
            fixed = level(block, SIN2, COS2)
            rising = level(block, SIN1, COS1)
            position = None
            if fixed > 0.01:
                position = (rising / fixed - LOW) / (HIGH - LOW) * self.seconds
            self.blocks.append((fixed, position))

    def time_of(self, block):
        return self.offset + LATENCY + block * BLOCK / RATE

    def block_at(self, stamp):
        """The first block at or after this CLOCK_MONOTONIC time (once it has arrived)."""
        while self.samples == 0 or self.samples / RATE + self.offset < stamp:
            self.read()
        return max(0, math.ceil((stamp - self.offset) * RATE / BLOCK))

    def wait_for(self, first, test, limit=30.0, failure=None):
        """The first block from `first` on that passes the test; the program
        ends with `failure` (or "nothing heard") after `limit` seconds."""
        index = first
        deadline = time.monotonic() + limit
        while True:
            while index < len(self.blocks):
                if test(index):
                    return index
                index += 1
            if time.monotonic() > deadline:
                sys.exit(failure or f"nothing heard within {limit} s")
            self.read()

    def steady(self, count, limit=30.0):
        """Waits until the last `count` blocks were sound moving on evenly; the
        index after them."""
        def moving_on(index):
            if index < count:
                return False
            run = self.blocks[index - count:index + 1]
            if any(position is None for _, position in run):
                return False
            return all(abs(b[1] - a[1]) < LEAP / 4 for a, b in zip(run, run[1:]))
        return self.wait_for(len(self.blocks), moving_on, limit,
                             f"no {count * BLOCK * 1000 // RATE} ms of steady sound within {limit} s") + 1


class Keyboard:
    """Key presses through XTEST on $DISPLAY, stamped on CLOCK_MONOTONIC."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtest = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            sys.exit("no X display")

    def press(self, name):
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(name.encode()))
        self.xtest.XTestFakeKeyEvent(self.display, code, 1, 0)
        pressed = time.monotonic()
        self.x11.XFlush(self.display)
        self.xtest.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x11.XSync(self.display, 0)
        return pressed


def dropouts(blocks):
    """Silences shorter than a pause after which the sound goes on where it
    broke off: the player (or the sound path) was late and the sink played
    nothing. A silence at a jump (a flushed output) is not one."""
    count, silent, last = 0, 0, None
    for _, position in blocks:
        if position is None:
            silent += 1
            continue
        if last is not None and 0 < silent < SHORTEST_PAUSE and abs(position - last) < LEAP:
            count += 1
        silent, last = 0, position
    return count


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def main():
    cycles, seconds = int(sys.argv[1]), float(sys.argv[2])
    options = sys.argv[3:sys.argv.index("--")]
    command = sys.argv[sys.argv.index("--") + 1:]
    monitor = Monitor(seconds)
    keyboard = Keyboard()
    player = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    presses = {"pause": [], "play": [], "rewind": [], "forward": []}  # (press time, block heard)
    steps_back = []
    try:
        monitor.steady(300, limit=60)  # a first start under Wine may take its time
        if options[:1] == ["--before-keys"]:
            ready = subprocess.Popen(["bash", "-c", options[1]])
            while ready.poll() is None:
                monitor.read()  # keeps the monitor's clock
            if ready.returncode != 0:
                sys.exit(f"the command before the keys failed: {options[1]}")
        for _ in range(cycles):
            steady = monitor.steady(300)
            last = monitor.blocks[steady - 1][1]
            pressed = keyboard.press("F9")
            heard = monitor.wait_for(monitor.block_at(pressed), lambda i: monitor.blocks[i][1] is None)
            presses["pause"].append((pressed, heard))
            # The last whole block before the silence (the one at the edge is part sound, part silence).
            stopped_at = monitor.blocks[heard - 3][1] or last
            monitor.wait_for(heard + 200, lambda i: True)  # 200 ms of silence
            pressed = keyboard.press("F9")
            heard = monitor.wait_for(monitor.block_at(pressed), lambda i: monitor.blocks[i][1] is not None)
            presses["play"].append((pressed, heard))
            settled = monitor.wait_for(heard + 5, lambda i: monitor.blocks[i][1] is not None)
            steps_back.append(stopped_at - monitor.blocks[settled][1])
            for key, name in (("F7", "rewind"), ("F8", "forward")):
                steady = monitor.steady(300)
                last = monitor.blocks[steady - 1][1]
                pressed = keyboard.press(key)
                first = monitor.block_at(pressed)
                heard = monitor.wait_for(first, lambda i: monitor.blocks[i][1] is not None and
                                         abs(monitor.blocks[i][1] - last - (i - steady) * BLOCK / RATE) > LEAP)
                presses[name].append((pressed, heard))
    finally:
        player.terminate()
        player.wait()
        monitor.recorder.terminate()
    for name, pairs in presses.items():
        delays = [(monitor.time_of(heard) - pressed) * 1000 for pressed, heard in pairs]
        print(f"| {name} | {statistics.median(delays):.1f} ms | {percentile(delays, 0.99):.1f} ms | {len(delays)} |")
    print(f"step back heard on play: median {statistics.median(steps_back):.2f} s; "
          f"dropouts heard: {dropouts(monitor.blocks)} in {len(monitor.blocks) * BLOCK / RATE:.0f} s")


if __name__ == "__main__":
    main()
