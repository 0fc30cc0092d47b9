#!/usr/bin/env python3
"""Start-up of Helicordia beside an empty Qt window, and its idle memory.

Both programs run on the same private X server (Xvfb) or both on Qt's
offscreen platform, interleaved, with HELICORDIA_SHOWN_PROBE=exit: each ends
right after its window has been painted for the first time, so the time from
exec to exit is the start-up to the window being shown. Medians are reported,
with the CPU time each start used (user and system, all threads), which a busy
machine disturbs less than the elapsed time.
Then the program runs once more until shown, is left idle for a moment, and
its resident memory (VmRSS) is read from /proc.

    python3 bench/startup.py [--bin build/bin] [--runs 41] [--offscreen]

Exit status 1 when a goal is missed: start-up at most 1.6 times the empty
window, idle resident memory at most 36 MB.
"""
import argparse
import glob
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

RATIO_GOAL = 1.6
RSS_GOAL_MB = 36.0


def start_xvfb():
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        display = f.readline().strip()
    if not display:
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + display


def cpu_of_children():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed_run(program, env, attempts=3):
    """(wall, cpu) seconds from exec to exit of one start that ends once shown."""
    cpu_before = cpu_of_children()
    begin = time.perf_counter()
    done = subprocess.run([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    elapsed = time.perf_counter() - begin
    cpu = cpu_of_children() - cpu_before
    if b"could not connect to display" in done.stderr and attempts > 1:
        # A busy X server now and then turns a quick new client away.
        time.sleep(0.2)
        return timed_run(program, env, attempts - 1)
    if done.returncode != 0 or not done.stdout.startswith(b"shown"):
        sys.stderr.write(done.stderr.decode(errors="replace")[-2000:])
        sys.exit(f"{program} did not show its window (status {done.returncode})")
    return elapsed, cpu


def idle_rss_mb(program, env, settle):
    """VmRSS in MB of the program shown and left idle for `settle` seconds."""
    env = dict(env, HELICORDIA_SHOWN_PROBE="report")
    proc = subprocess.Popen([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        if not proc.stdout.readline().startswith(b"shown"):
            sys.exit(f"{program} did not show its window")
        time.sleep(settle)
        with open(f"/proc/{proc.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024.0
    finally:
        proc.kill()  # not a signal it answers: it would save its settings and recent list
        proc.wait()
    return float("nan")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bin", default=os.path.join(here, "..", "build", "bin"))
    parser.add_argument("--runs", type=int, default=41)
    parser.add_argument("--offscreen", action="store_true", help="Qt's offscreen platform instead of Xvfb")
    parser.add_argument("--settle", type=float, default=1.0, help="seconds idle before memory is read")
    args = parser.parse_args()

    program = os.path.join(args.bin, "helicordia")
    empty = os.path.join(args.bin, "startup_empty_window")
    for path in (program, empty):
        if not os.access(path, os.X_OK):
            sys.exit(f"missing {path}: build the program and bench/ first")

    # Own home, settings and temporary folder: no earlier settings, no running
    # copy, nothing written where the user keeps things.
    scratch = tempfile.mkdtemp(prefix="helicordia-startup-")
    runtime = os.path.join(scratch, "run")
    os.mkdir(runtime, 0o700)
    env = dict(os.environ, HOME=scratch, XDG_CONFIG_HOME=os.path.join(scratch, "config"),
               XDG_DATA_HOME=os.path.join(scratch, "data"), XDG_RUNTIME_DIR=runtime, TMPDIR=scratch,
               HELICORDIA_SHOWN_PROBE="exit")
    server = None
    try:
        if args.offscreen:
            env["QT_QPA_PLATFORM"] = "offscreen"
        else:
            server, display = start_xvfb()
            env["DISPLAY"] = display
            env["QT_QPA_PLATFORM"] = "xcb"
        env.pop("WAYLAND_DISPLAY", None)

        def clean_locks():
            # The probe ends the process without releasing the one-copy lock.
            for path in glob.glob(os.path.join(scratch, "helicordia-*")):
                os.remove(path)

        # Warm the file cache, then alternate the two.
        for _ in range(3):
            timed_run(empty, env)
            timed_run(program, env)
            clean_locks()
        times = {"empty": [], "program": []}
        for _ in range(args.runs):
            times["empty"].append(timed_run(empty, env))
            times["program"].append(timed_run(program, env))
            clean_locks()
        rss_program = idle_rss_mb(program, env, args.settle)
        clean_locks()
        rss_empty = idle_rss_mb(empty, env, args.settle)
    finally:
        if server:
            server.terminate()
            server.wait()
        shutil.rmtree(scratch, ignore_errors=True)

    def median_ms(name, which):
        return statistics.median(t[which] for t in times[name]) * 1000

    empty_ms, program_ms = median_ms("empty", 0), median_ms("program", 0)
    empty_cpu, program_cpu = median_ms("empty", 1), median_ms("program", 1)
    ratio = program_ms / empty_ms
    platform = "offscreen" if args.offscreen else "Xvfb"
    print(f"start-up to shown, median of {args.runs} ({platform}, load {os.getloadavg()[0]:.2f}):")
    print(f"  empty Qt window  {empty_ms:7.1f} ms   (CPU {empty_cpu:5.1f} ms)")
    print(f"  Helicordia       {program_ms:7.1f} ms   (CPU {program_cpu:5.1f} ms)   "
          f"{ratio:.2f} x the empty window (goal <= {RATIO_GOAL}; CPU {program_cpu / empty_cpu:.2f} x)")
    print(f"idle resident memory (VmRSS) after {args.settle:g} s shown:")
    print(f"  empty Qt window  {rss_empty:7.1f} MB")
    print(f"  Helicordia       {rss_program:7.1f} MB   (goal <= {RSS_GOAL_MB:g} MB)")
    return 0 if ratio <= RATIO_GOAL and rss_program <= RSS_GOAL_MB else 1


if __name__ == "__main__":
    sys.exit(main())
