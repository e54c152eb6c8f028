#!/usr/bin/env python3
"""Maskora.exe end to end under Wine, on the X display in DISPLAY.

  end_to_end.py WINE MASKORA_EXE PROBE_EXE

Starts the program, clicks into the first octet field and types an address through the X
server with xdotool, changes the mask, turns the wheel, presses the CLI, SRV and Info
buttons by their access keys, and reads every result back from the window's own controls
with the probe. The SRV request goes to a port on 127.0.0.1 where nothing listens, so the
button falls back to the local lookup. Windows Sockets (Wine's as Windows' own) answers
for the computer's own name with its interface addresses, which the host's resolver may
not: the CLI address must be one of this computer's addresses. Closes the window and expects the program to end.
"""

import os
import socket
import subprocess
import sys
import tempfile
import time

TIMEOUT = 15
failures = []


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Program:
    def __init__(self, wine, exe, probe):
        self.wine, self.probe_exe = wine, probe
        env = dict(os.environ, MASKORA_SRV_ENDPOINT=f"127.0.0.1:{free_port()}")
        self.process = subprocess.Popen([wine, exe], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def probe(self, *args):
        # Output through a file: a Wine service that the probe happens to start would keep a
        # pipe open long after the probe has ended.
        with tempfile.TemporaryFile(mode="w+") as out:
            done = subprocess.run([self.wine, self.probe_exe, *args], stdout=out,
                                  stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                                  timeout=60)
            out.seek(0)
            return done.returncode, out.read()

    def read(self):
        code, out = self.probe("read")
        if code != 0:
            return {}
        return dict(line.split("=", 1) for line in out.splitlines() if "=" in line)

    def until(self, what, wanted):
        """Reads the window until the wanted fields show, or the time is up."""
        deadline, seen = time.monotonic() + TIMEOUT, {}
        while time.monotonic() < deadline:
            seen = self.read()
            if all(seen.get(k) == v for k, v in wanted.items()):
                print(f"ok: {what}")
                return seen
            time.sleep(0.2)
        wrong = {k: (seen.get(k), v) for k, v in wanted.items() if seen.get(k) != v}
        failures.append(f"{what}: (shown, wanted) {wrong}")
        print(f"FAIL: {what}: (shown, wanted) {wrong}")
        return seen


def own_addresses():
    """The resolver's answer for the host name and the addresses of the interfaces."""
    found = {socket.gethostbyname(socket.gethostname())}
    try:
        lines = open("/proc/net/fib_trie").read().splitlines()
    except OSError:
        return found
    for previous, line in zip(lines, lines[1:]):
        if line.strip() == "/32 host LOCAL":
            found.add(previous.split()[-1])
    return found


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True).stdout


def window_origin():
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                "^Maskora 1.0 - Mervik$"], capture_output=True, text=True)
        ids = found.stdout.split()
        if ids:
            geometry = xdotool("getwindowgeometry", "--shell", ids[0])
            values = dict(line.split("=") for line in geometry.split())
            return int(values["X"]), int(values["Y"])
        time.sleep(0.2)
    raise SystemExit("FAIL: the window never showed on the X display")


def octets(a, b, c, d):
    return {"txtIP0": a, "txtIP1": b, "txtIP2": c, "txtIP3": d}


def main():
    wine, exe, probe = sys.argv[1:4]
    addresses = own_addresses()
    program = Program(wine, exe, probe)
    try:
        code, out = program.probe("wait", str(TIMEOUT))
        if code != 0:
            raise SystemExit(f"FAIL: {out.strip()}")
        program.until("first results for 0.0.0.0/24", {
            **octets("0", "0", "0", "0"), "cmbMask": "(24) 255.255.255.0",
            "txtNetwork": "0.0.0.0", "txtBroadcast": "0.0.0.255", "txtHosts": "254",
            "caption": "Maskora 1.0 - Mervik"})

        # The first octet field lies at (78, 6) in the client area, 21 x 17 pixels.
        left, top = window_origin()
        xdotool("mousemove", str(left + 88), str(top + 14), "click", "1")
        program.until("a click enters the first field", {"focus": "txtIP0"})
        xdotool("key", "ctrl+a")  # the field's own select-all: the typing replaces the 0
        xdotool("type", "--delay", "60", "10.1.2.3")
        program.until("typed address", {
            **octets("10", "1", "2", "3"), "focus": "txtIP3", "txtNetwork": "10.1.2.0",
            "txtBroadcast": "10.1.2.255", "txtStato": "Valido"})

        xdotool("key", "alt+m", "Down")
        program.until("mask /23 chosen from the keyboard", {
            "focus": "cmbMask", "cmbMask": "(23) 255.255.254.0", "txtNetwork": "10.1.2.0",
            "txtBroadcast": "10.1.3.255", "txtHosts": "510"})

        xdotool("key", "alt+i")
        program.until("the label's access key enters the first field", {"focus": "txtIP0"})
        xdotool("click", "4")
        program.until("wheel away from the user steps up", {
            **octets("11", "1", "2", "3"), "txtNetwork": "11.1.2.0"})
        xdotool("click", "5", "click", "5")
        program.until("wheel towards the user steps down", octets("9", "1", "2", "3"))

        xdotool("key", "alt+c")
        before, deadline = octets("9", "1", "2", "3"), time.monotonic() + TIMEOUT
        seen = program.read()
        while time.monotonic() < deadline and all(seen.get(k) == v for k, v in before.items()):
            time.sleep(0.2)
            seen = program.read()
        local = ".".join(seen.get(f"txtIP{i}", "") for i in range(4))
        if local in addresses:
            print(f"ok: CLI fills in this computer's address {local}")
        else:
            failures.append(f"CLI address {local} is none of {sorted(addresses)}")
            print(f"FAIL: CLI address {local} is none of {sorted(addresses)}")

        xdotool("key", "alt+i")
        xdotool("type", "--delay", "60", "192.0.2.1")
        program.until("typed over", octets("192", "0", "2", "1"))
        xdotool("key", "alt+s")
        program.until("SRV without an answer falls back to the local address",
                      octets(*local.split(".")))

        xdotool("key", "alt+n")
        code, out = program.probe("box", str(TIMEOUT))
        box = out.splitlines()
        ok = code == 0 and "title=Maskora" in box and any("Maskora 1.0.0.2" in l for l in box)
        print(("ok" if ok else "FAIL") + ": About box " + "|".join(box))
        if not ok:
            failures.append("About box")

        xdotool("key", "alt+F4")
        try:
            code = program.process.wait(timeout=TIMEOUT)
            print(f"ok: closed, exit code {code}")
            if code != 0:
                failures.append(f"exit code {code}")
        except subprocess.TimeoutExpired:
            failures.append("the program did not end when its window was closed")
            print("FAIL: the program did not end when its window was closed")
    finally:
        if program.process.poll() is None:
            program.probe("close")
            try:
                program.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                program.process.kill()
                program.process.wait()
    print("ok" if not failures else f"{len(failures)} problem(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
