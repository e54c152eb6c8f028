# SPDX-License-Identifier: MIT
"""Peak memory of the window program when a large clipboard text is pasted into an octet field.

The program runs on a throw-away X display; xclip owns the clipboard with the text and xdotool
presses Ctrl+V in the first octet field. The figure is the rise of the window program's peak
resident memory (VmHWM, of the process that owns the window) from before the paste to when it
has gone idle again, for a text of digits and for "1." repeated, which reads like the start of
an address. Whatever the program does with the text, the toolkit itself fetches it from the X
server and holds it as UTF-16: about three bytes per pasted byte.

Usage: paste_memory.py [--bytes N] [--json] PROGRAM [ARGUMENTS...]
Prints a line per text and, with --json, one JSON object on the last line.
Needs Xvfb, xdotool and xclip.
"""
import argparse
import json
import os
import signal
import subprocess
import sys
import tempfile
import time

import child_usage

TEXTS = {"digits": b"9", "dotted": b"1."}


class Failure(Exception):
    pass


def start_xvfb(env):
    """Xvfb on a display number that it picks itself, once it has said which."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen",
                             "0", "1024x768x24"], pass_fds=(write,), start_new_session=True,
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as number:
        line = number.readline().strip()
    if not line:
        child_usage.stop_group(xvfb)
        raise Failure("Xvfb did not start")
    return xvfb, ":" + line


def status_kib(pid, field):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise Failure("no %s for process %d" % (field, pid))


def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def wait_idle(pid, quiet=1.0, limit=30.0):
    """Waits until the process has used no processor time for `quiet` seconds."""
    deadline = time.monotonic() + limit
    last, since = cpu_ticks(pid), time.monotonic()
    while time.monotonic() < deadline:
        time.sleep(0.1)
        now = cpu_ticks(pid)
        if now != last:
            last, since = now, time.monotonic()
        elif time.monotonic() - since >= quiet:
            return
    raise Failure("the program was still busy after %g s" % limit)


def xdotool(env, *arguments):
    result = subprocess.run(["xdotool", *arguments], env=env, capture_output=True, text=True,
                            timeout=20)
    if result.returncode != 0:
        raise Failure("xdotool %s: %s" % (" ".join(arguments), result.stderr.strip()))
    return result.stdout.strip()


def measure(command, env, text):
    """Peak memory in KiB before and after pasting the text."""
    program = subprocess.Popen(command, env=env, start_new_session=True,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    owner = None
    try:
        window = xdotool(env, "search", "--sync", "--onlyvisible", "--name", "^Maskora")
        window = window.split()[0]
        pid = int(xdotool(env, "getwindowpid", window))
        xdotool(env, "windowfocus", "--sync", window)
        xdotool(env, "key", "alt+i")  # the address label's access key: the first octet field
        wait_idle(pid)
        before = status_kib(pid, "VmHWM")
        owner = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard"], env=env,
                                 stdin=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                 start_new_session=True)
        owner.stdin.write(text)
        owner.stdin.close()
        time.sleep(0.5)
        xdotool(env, "key", "ctrl+v")
        wait_idle(pid)
        return before, status_kib(pid, "VmHWM")
    finally:
        if owner is not None:
            child_usage.stop_group(owner)
        child_usage.stop_group(program)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bytes", type=int, default=10_000_000)
    parser.add_argument("--json", action="store_true")
    parser.add_argument("command", nargs="+")
    options = parser.parse_args()
    env = {k: v for k, v in os.environ.items()
           if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS")}
    env["QT_ACCESSIBILITY"] = "0"
    results = {"bytes": options.bytes}
    with tempfile.TemporaryDirectory(prefix="maskora-bench-") as runtime:
        env["XDG_RUNTIME_DIR"] = runtime
        try:
            xvfb, env["DISPLAY"] = start_xvfb(env)
        except Failure as error:
            print("paste_memory: FAILED: %s" % error, file=sys.stderr)
            return 1
        try:
            for name, unit in TEXTS.items():
                text = (unit * (options.bytes // len(unit) + 1))[:options.bytes]
                before, after = measure(options.command, env, text)
                results[name] = {"before_mib": before / 1024, "after_mib": after / 1024}
                print("%-6s %d bytes: peak memory %.1f MiB before the paste, %.1f MiB after"
                      % (name, options.bytes, before / 1024, after / 1024))
        except (Failure, OSError, subprocess.TimeoutExpired) as error:
            print("paste_memory: FAILED: %s" % error, file=sys.stderr)
            return 1
        finally:
            child_usage.stop_group(xvfb)
    if options.json:
        print(json.dumps(results))
    return 0


if __name__ == "__main__":
    sys.exit(main())
