# SPDX-License-Identifier: MIT
"""Start-up time and idle memory of Maskora and of a peer calculator, on a throw-away X display.

For each run: the time from starting the program until the X server maps its top-level window
(taken from the server's MapNotify event, not from polling), and the resident set size
(VmRSS) 3 s after that. The programs take turns, after one unmeasured warm-up run each, so
that both see the same file caches.

Usage: startup.py [--runs N] [--settle S] [--json] NAME=COMMAND...
Prints a line per run and, with --json, one JSON object with the medians on the last line.
"""
import argparse
import json
import os
import random
import select
import shlex
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display


class Failure(Exception):
    pass


def start_xvfb(env, log):
    """Xvfb on a free display number of its own, once it takes connections.

    The number is picked here, away from the low numbers that Xvfb -displayfd hands out: a
    second server probing a number in use replaces that display's socket file with a dead one,
    which the client library here would connect to.
    """
    for number in random.sample(range(200, 600), 20):
        if os.path.exists("/tmp/.X%d-lock" % number):
            continue
        name = ":%d" % number
        xvfb = subprocess.Popen(["Xvfb", name, "-nolisten", "tcp", "-noreset", "-screen", "0",
                                 "1024x768x24"], start_new_session=True, env=env,
                                stdout=log, stderr=log)
        deadline = time.monotonic() + 15
        while xvfb.poll() is None and time.monotonic() < deadline:
            try:
                display.Display(name).close()
                return xvfb, name
            except Exception:
                time.sleep(0.02)
        stop(xvfb)
    raise Failure("Xvfb did not start")


def stop(process):
    try:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(timeout=3)
    except ProcessLookupError:
        pass
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
    process.wait()


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise Failure("no VmRSS for process %d" % pid)


def wait_for_map(connection, process, seconds=20):
    """Seconds on the monotonic clock at which a top-level window was mapped."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while connection.pending_events():
            event = connection.next_event()
            if event.type == X.MapNotify and not event.override:
                return time.monotonic()
        if process.poll() is not None:
            raise Failure("the program exited with %d before mapping a window"
                          % process.returncode)
        select.select([connection.fileno()], [], [], 0.01)
    raise Failure("no window mapped within %g s" % seconds)


def measure(command, env, settle):
    connection = display.Display(env["DISPLAY"])
    root = connection.screen().root
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    connection.sync()
    while connection.pending_events():
        connection.next_event()
    started = time.monotonic()
    process = subprocess.Popen(command, env=env, start_new_session=True,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        mapped = wait_for_map(connection, process)
        time.sleep(settle)
        if process.poll() is not None:
            raise Failure("the program exited with %d while idle" % process.returncode)
        return mapped - started, rss_kib(process.pid)
    finally:
        stop(process)
        connection.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--settle", type=float, default=3.0)
    parser.add_argument("--json", action="store_true")
    parser.add_argument("programs", nargs="+", metavar="NAME=COMMAND")
    options = parser.parse_args()
    programs = [p.split("=", 1) for p in options.programs]

    home = tempfile.mkdtemp(prefix="maskora-bench-")
    runtime = os.path.join(home, "runtime")
    os.mkdir(runtime, 0o700)
    env = {k: v for k, v in os.environ.items()
           if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                        "SESSION_MANAGER")}
    env["XDG_RUNTIME_DIR"] = runtime
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        with open(os.path.join(home, "xvfb.log"), "w") as log:
            xvfb, env["DISPLAY"] = start_xvfb(env, log)
    except Failure as error:
        print("startup: FAILED: %s" % error, file=sys.stderr)
        shutil.rmtree(home, ignore_errors=True)
        return 1
    results = {name: {"startup": [], "rss": []} for name, _ in programs}
    try:
        for name, command in programs:
            measure(shlex.split(command), env, 0.2)  # warm-up, not counted
        for run in range(options.runs):
            for name, command in programs:
                seconds, rss = measure(shlex.split(command), env, options.settle)
                results[name]["startup"].append(seconds)
                results[name]["rss"].append(rss)
                print("run %d %-8s start-up %6.1f ms  RSS %6.1f MiB"
                      % (run + 1, name, seconds * 1000, rss / 1024), file=sys.stderr)
    except Failure as error:
        print("startup: FAILED: %s" % error, file=sys.stderr)
        return 1
    finally:
        stop(xvfb)
        shutil.rmtree(home, ignore_errors=True)
    medians = {name: {"startup_ms": statistics.median(r["startup"]) * 1000,
                      "rss_mib": statistics.median(r["rss"]) / 1024,
                      "runs": len(r["startup"])}
               for name, r in results.items()}
    for name, m in medians.items():
        print("%-8s median start-up %.1f ms, median RSS %.1f MiB over %d runs"
              % (name, m["startup_ms"], m["rss_mib"], m["runs"]))
    if options.json:
        print(json.dumps(medians))
    return 0


if __name__ == "__main__":
    sys.exit(main())
