"""Plays a long recording in the built program and follows its threads in
/proc: the envelope worker (the thread at nice 19) until it ends, the CPU of
the other threads per second meanwhile and for as long afterwards (5 to 20
s), and the resident memory before the worker grew and at the peak.
   envelope_in_program.py PROGRAM RECORDING   (on an X display)"""
import os
import subprocess
import sys
import tempfile
import time

TICKS = os.sysconf("SC_CLK_TCK")


def threads(pid):
    """tid -> (nice, CPU seconds) of every thread of the process."""
    found = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        found[tid] = (int(fields[16]), (int(fields[11]) + int(fields[12])) / TICKS)
    return found


def memory(pid, field):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(field):
                return int(line.split()[1]) / 1024
    return 0.0


def others(pid):
    return sum(cpu for nice, cpu in threads(pid).values() if nice != 19)


def main():
    program, recording = sys.argv[1], sys.argv[2]
    home = tempfile.mkdtemp()
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home)
    player = subprocess.Popen([program, recording], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # The worker starts after the load: wait for it.
        deadline = time.monotonic() + 60
        worker = None
        while worker is None and time.monotonic() < deadline:
            worker = next((tid for tid, (nice, _) in threads(player.pid).items() if nice == 19), None)
            time.sleep(0.05)
        if worker is None:
            sys.exit("no envelope worker appeared")
        rss_start = memory(player.pid, "VmRSS:")
        start, others_start = time.monotonic(), others(player.pid)
        worker_cpu = 0.0
        while worker in threads(player.pid):
            worker_cpu = threads(player.pid)[worker][1]
            time.sleep(0.1)
        elapsed = time.monotonic() - start
        others_during = (others(player.pid) - others_start) / elapsed
        after = max(5.0, min(elapsed, 20.0))
        others_before = others(player.pid)
        time.sleep(after)
        others_after = (others(player.pid) - others_before) / after
        print(f"envelope worker      {worker_cpu:.2f} s CPU over {elapsed:.1f} s wall")
        print(f"playback meanwhile   {100 * others_during:.1f} % of a core (the other threads)")
        print(f"playback afterwards  {100 * others_after:.1f} % of a core")
        print(f"memory               RSS {rss_start:.1f} MiB as the worker began, peak {memory(player.pid, 'VmHWM:'):.1f} MiB")
    finally:
        player.terminate()
        player.wait()


main()
