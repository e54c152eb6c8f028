# SPDX-License-Identifier: MIT
"""Start-up time and idle memory of Maskora and of a peer calculator, on a throw-away X display.

For each run: the time from starting the program until the X server maps its top-level window
(taken from the server's MapNotify event, not from polling), and the resident set size
(VmRSS) 3 s after that. The programs take turns, after one unmeasured warm-up run each, so
that both see the same file caches.

Each command is run as given, its program resolved to one absolute path up front and printed:
the figure is that of the command a user runs, whether it is the window program itself or a
front that execs it or starts it. The memory is that of every process the command left in its
session, and the window must belong to one of them (its _NET_WM_PID), so that a window handed
to a program started elsewhere is not counted.

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

import child_usage

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
        child_usage.stop_group(xvfb)
    raise Failure("Xvfb did not start")


def session_pids(session):
    """The live processes of a session (the command started it, so its id is the command's)."""
    return child_usage.processes(lambda fields: fields[0] != "Z" and int(fields[3]) == session)


def rss_kib(pids):
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/status" % pid) as status:
                total += next((int(line.split()[1]) for line in status
                               if line.startswith("VmRSS:")), 0)
        except OSError:
            pass  # ended since it was listed
    return total


def program_gone(process):
    """Why the command can no longer map a window, or None while it may."""
    if process.poll() is None:
        return None
    if process.returncode != 0:
        return "the program exited with %d" % process.returncode
    if not session_pids(process.pid):
        return "the program exited, leaving no process behind"
    return None  # a front that started the window program and left


def wait_for_map(connection, process, seconds=20):
    """Seconds on the monotonic clock at which a top-level window was mapped, and the window."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while connection.pending_events():
            event = connection.next_event()
            if event.type == X.MapNotify and not event.override:
                return time.monotonic(), event.window
        gone = program_gone(process)
        if gone:
            raise Failure(gone + " before mapping a window")
        select.select([connection.fileno()], [], [], 0.01)
    raise Failure("no window mapped within %g s" % seconds)


def window_pid(connection, window):
    """The process that owns a window, as the window says (_NET_WM_PID), or None."""
    try:
        prop = window.get_full_property(connection.intern_atom("_NET_WM_PID"),
                                        X.AnyPropertyType)
    except Exception:
        return None
    return int(prop.value[0]) if prop and len(prop.value) else None


def resolve(command):
    """The command's words, its program as an absolute path."""
    words = shlex.split(command)
    program = words[0] if "/" in words[0] else shutil.which(words[0])
    if not program or not os.access(program, os.X_OK):
        raise Failure("no program to run for %r" % command)
    return [os.path.abspath(program)] + words[1:]


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
        mapped, window = wait_for_map(connection, process)
        owner = window_pid(connection, window)
        if owner is not None and owner not in session_pids(process.pid):
            raise Failure("the window belongs to process %d, which the command did not start"
                          % owner)
        time.sleep(settle)
        gone = program_gone(process)
        pids = session_pids(process.pid)
        if gone or not pids:
            raise Failure((gone or "the program exited") + " while idle")
        return mapped - started, rss_kib(pids), len(pids)
    finally:
        child_usage.stop_group(process)
        connection.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--settle", type=float, default=3.0)
    parser.add_argument("--json", action="store_true")
    parser.add_argument("programs", nargs="+", metavar="NAME=COMMAND")
    options = parser.parse_args()
    try:
        programs = [(name, resolve(command))
                    for name, command in (p.split("=", 1) for p in options.programs)]
    except Failure as error:
        print("startup: FAILED: %s" % error, file=sys.stderr)
        return 1
    for name, words in programs:
        print("%-8s runs: %s" % (name, shlex.join(words)), file=sys.stderr)

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
    results = {name: {"startup": [], "rss": [], "command": shlex.join(words)}
               for name, words in programs}
    try:
        for name, command in programs:
            measure(command, env, 0.2)  # warm-up, not counted
        for run in range(options.runs):
            for name, command in programs:
                seconds, rss, processes = measure(command, env, options.settle)
                results[name]["startup"].append(seconds)
                results[name]["rss"].append(rss)
                print("run %d %-8s start-up %6.1f ms  RSS %6.1f MiB%s"
                      % (run + 1, name, seconds * 1000, rss / 1024,
                         "  (%d processes)" % processes if processes > 1 else ""),
                      file=sys.stderr)
    except Failure as error:
        print("startup: FAILED: %s" % error, file=sys.stderr)
        return 1
    finally:
        child_usage.stop_group(xvfb)
        shutil.rmtree(home, ignore_errors=True)
    medians = {name: {"startup_ms": statistics.median(r["startup"]) * 1000,
                      "rss_mib": statistics.median(r["rss"]) / 1024,
                      "runs": len(r["startup"]), "command": r["command"]}
               for name, r in results.items()}
    for name, m in medians.items():
        print("%-8s median start-up %.1f ms, median RSS %.1f MiB over %d runs"
              % (name, m["startup_ms"], m["rss_mib"], m["runs"]))
    if options.json:
        print(json.dumps(medians))
    return 0


if __name__ == "__main__":
    sys.exit(main())
