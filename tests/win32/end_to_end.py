#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Maskora.exe end to end under Wine, on the X display in DISPLAY.

  end_to_end.py WINE MASKORA_EXE PROBE_EXE

First the command line, which answers without a window. Then the window: the probe, a Win32
program, reads every control as the window's description names it and tells where a control
lies on the screen; xdotool clicks there and types through the X server: an address, the
mask, the wheel with the pointer over a field and over the mask list, "/" and a prefix,
Enter, pastes of texts that the probe put on the clipboard as its owner, and the CLI, SRV and
Info buttons by their access keys. The SRV request goes to a port on 127.0.0.1 where nothing
listens, so the button falls back to the local lookup. Windows Sockets (Wine's as Windows'
own) answers for the computer's own name with its interface addresses, which the host's
resolver may not: the CLI address must be one of this computer's addresses. Closes the window
and expects the program to end.
"""

import json
import os
import socket
import subprocess
import sys
import tempfile
import time

TIMEOUT = 15
failures = []


def check(ok, what, detail=""):
    print(("ok: " if ok else "FAIL: ") + what + (f" ({detail})" if detail and not ok else ""))
    if not ok:
        failures.append(what)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def run(wine, *args, given=b""):
    """Runs a Windows program to its end, with given on its standard input; exit code, standard
    output and error."""
    # Output through files: a Wine service that the program happens to start would keep a pipe
    # open long after the program has ended.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err, \
            tempfile.TemporaryFile() as source:
        source.write(given)
        source.seek(0)
        done = subprocess.run([wine, *args], stdout=out, stderr=err, stdin=source, timeout=60)
        out.seek(0)
        err.seek(0)
        return done.returncode, out.read().decode(), err.read().decode()


class Program:
    def __init__(self, wine, exe, probe, *args):
        self.wine, self.probe_exe = wine, probe
        env = dict(os.environ, MASKORA_SRV_ENDPOINT=f"127.0.0.1:{free_port()}")
        self.process = subprocess.Popen([wine, exe, *args], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def probe(self, *args):
        code, out, _ = run(self.wine, self.probe_exe, *args)
        return code, out.replace("\r\n", "\n")

    def read(self):
        code, out = self.probe("read")
        if code != 0:
            return {}
        return dict(line.split("=", 1) for line in out.splitlines() if "=" in line)

    def centre(self, name):
        code, out = self.probe("place", name)
        if code != 0:
            raise SystemExit(f"FAIL: {out.strip()}")
        left, top, right, bottom = map(int, out.split())
        return (left + right) // 2, (top + bottom) // 2

    def until(self, what, wanted):
        """Reads the window until the wanted fields show, or the time is up."""
        deadline, seen = time.monotonic() + TIMEOUT, {}
        while time.monotonic() < deadline:
            seen = self.read()
            if all(seen.get(k) == v for k, v in wanted.items()):
                check(True, what)
                return seen
            time.sleep(0.2)
        check(False, what, {k: (seen.get(k), v) for k, v in wanted.items() if seen.get(k) != v})
        return seen

    def close(self):
        if self.process.poll() is None:
            self.probe("close")
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


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
    subprocess.run(["xdotool", *args], check=True, capture_output=True)


def octets(a, b, c, d):
    return {"txtIP0": a, "txtIP1": b, "txtIP2": c, "txtIP3": d}


def command_line(wine, exe, probe):
    code, out, err = run(wine, exe, "--version")
    check(code == 0 and out.startswith("maskora ") and out.endswith("\r\n") and not err,
          "--version answers on standard output", repr((code, out, err)))
    code, out, _ = run(wine, exe, "--help")
    check(code == 0 and "--print" in out, "--help answers on standard output")
    code, out, _ = run(wine, exe, "--print", "10.1.2.3/8")
    lines = out.splitlines()
    check(code == 0 and len(lines) == 6 and lines[0].split() == ["Stato", "IP:", "Valido"]
          and lines[-1].split() == ["Network:", "10.0.0.0"], "--print writes the six results",
          repr(out))
    code, out, _ = run(wine, exe, "--json", "10.1.2.3", "255.255.0.0")
    try:
        results = json.loads(out)
    except ValueError:
        results = {}
    check(code == 0 and results.get("prefix") == 16 and results.get("hosts") == "65.534",
          "--json writes one object", repr(out))
    code, out, err = run(wine, exe, "10.1.2.300/8")
    check(code == 2 and not out and len(err.splitlines()) == 1 and err.startswith("maskora: "),
          "a malformed argument gives one line and exit status 2", repr((code, out, err)))
    code, _, _ = run(wine, probe, "read")
    check(code != 0, "and no window")

    # A stream on standard input: one JSON object a line, CR LF, the bad line said on standard
    # error with its number.
    code, out, err = run(wine, exe, "--json", "-", given=b"10.1.2.3/8\r\nnope\n\n192.168.1.1\n")
    lines = out.split("\r\n")
    try:
        answers = [json.loads(line) for line in lines[:-1]]
    except ValueError:
        answers = []
    check(code == 2 and [a.get("network") for a in answers] == ["10.0.0.0", "192.168.1.0"]
          and lines[-1] == "" and err.startswith("maskora: line 2: "),
          "--json - answers every line of standard input", repr((code, out, err)))

    # Typed in cmd, "maskora" is maskora.com beside Maskora.exe: cmd waits for it and sees its
    # exit status.
    folder = os.path.dirname(os.path.abspath(exe))
    code, out, _ = run(wine, "cmd", "/c", "cd /d %s & maskora --range 10.0.0.1-10.0.0.6 & "
                       "echo status %%errorlevel%% & maskora 1.2.3 & echo status %%errorlevel%%"
                       % subprocess.run(["winepath", "-w", folder], capture_output=True,
                                        text=True).stdout.strip())
    check([line.strip() for line in out.split("\r\n")[:6]] == ["10.0.0.1/32", "10.0.0.2/31", "10.0.0.4/31", "10.0.0.6/32",
                                     "status 0", "status 2"],
          "cmd runs maskora.com, waits for it and sees its exit status", repr(out))

    # Started from a shortcut or "Open with", without a console: a malformed address is said in
    # a message box.
    subprocess.run([wine, "start", "/unix", os.path.abspath(exe), "10.1.2.300"],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60)
    code, out, _ = run(wine, probe, "box", "20")
    check(code == 0 and "title=Maskora" in out and "10.1.2.300" in out,
          "a malformed address without a console is said in a message box", repr(out))


def main():
    wine, exe, probe = sys.argv[1:4]
    command_line(wine, exe, probe)
    addresses = own_addresses()

    program = Program(wine, exe, probe, "172.16.5.4/12")
    try:
        code, out = program.probe("wait", str(TIMEOUT))
        if code != 0:
            raise SystemExit(f"FAIL: {out.strip()}")
        program.until("opens with the address of the command line", {
            **octets("172", "16", "5", "4"), "cmbMask": "(12) 255.240.0.0",
            "txtNetwork": "172.16.0.0", "focus": "txtIP0"})
    finally:
        program.close()

    program = Program(wine, exe, probe)
    try:
        code, out = program.probe("wait", str(TIMEOUT))
        if code != 0:
            raise SystemExit(f"FAIL: {out.strip()}")
        program.until("first results for 0.0.0.0/24", {
            **octets("0", "0", "0", "0"), "cmbMask": "(24) 255.255.255.0",
            "txtNetwork": "0.0.0.0", "txtBroadcast": "0.0.0.255", "txtHosts": "254"})

        xdotool("mousemove", *map(str, program.centre("txtIP0")), "click", "1")
        program.until("a click enters the first field", {"focus": "txtIP0"})
        xdotool("key", "ctrl+a")  # the field's own select-all: the typing replaces the 0
        xdotool("type", "--delay", "60", "10.1.2.3")
        program.until("typed address", {
            **octets("10", "1", "2", "3"), "focus": "txtIP3", "txtNetwork": "10.1.2.0",
            "txtBroadcast": "10.1.2.255", "txtStato": "Valido"})

        xdotool("key", "alt+m", "Down")
        program.until("mask /23 chosen from the keyboard", {
            "focus": "cmbMask", "cmbMask": "(23) 255.255.254.0", "txtHosts": "510"})

        xdotool("key", "alt+i")
        program.until("the label's access key enters the first field", {"focus": "txtIP0"})
        xdotool("click", "4")
        program.until("wheel away from the user steps up", {
            **octets("11", "1", "2", "3"), "txtNetwork": "11.1.2.0"})
        xdotool("click", "5", "click", "5")
        program.until("wheel towards the user steps down", octets("9", "1", "2", "3"))
        xdotool("mousemove", *map(str, program.centre("cmbMask")), "click", "4")
        program.until("a notch over the mask list steps the focused field", {
            **octets("10", "1", "2", "3"), "cmbMask": "(23) 255.255.254.0"})

        xdotool("key", "alt+m", "alt+i")  # entered anew: the field's whole text is selected
        xdotool("type", "--delay", "60", "10.0.0.0/8")
        program.until("a slash and the prefix pick the mask", {
            **octets("10", "0", "0", "0"), "cmbMask": "( 8 ) 255.0.0.0", "focus": "cmbMask",
            "txtBroadcast": "10.255.255.255"})

        xdotool("key", "alt+i")
        xdotool("type", "--delay", "60", "12")
        xdotool("key", "Return")
        program.until("Enter in a full field moves on", {"txtIP0": "12", "focus": "txtIP1"})

        for text, wanted, what in [
                ("192.168.7.9/20", {**octets("192", "168", "7", "9"),
                                    "cmbMask": "(20) 255.255.240.0"}, "a whole address pasted"),
                ("1.2.3.400", {**octets("192", "168", "7", "9"),
                               "cmbMask": "(20) 255.255.240.0"}, "a malformed one changes nothing"),
                ("98765", {**octets("987", "168", "7", "9")}, "other text cut to the room left")]:
            xdotool("key", "alt+i")
            program.probe("clip", text)
            xdotool("key", "ctrl+v")
            program.until(what, wanted)

        xdotool("key", "alt+c")
        before, deadline = octets("987", "168", "7", "9"), time.monotonic() + TIMEOUT
        seen = program.read()
        while time.monotonic() < deadline and all(seen.get(k) == v for k, v in before.items()):
            time.sleep(0.2)
            seen = program.read()
        local = ".".join(seen.get(f"txtIP{i}", "") for i in range(4))
        check(local in addresses, f"CLI fills in this computer's address {local}",
              f"none of {sorted(addresses)}")

        xdotool("key", "alt+i")
        xdotool("type", "--delay", "60", "192.0.2.1")
        program.until("typed over", octets("192", "0", "2", "1"))
        xdotool("key", "alt+s")
        program.until("SRV without an answer falls back to the local address",
                      octets(*local.split(".")))

        xdotool("key", "alt+n")
        code, out = program.probe("box", str(TIMEOUT))
        box = out.splitlines()
        about = "Maskora " + os.environ["MASKORA_VERSION"]
        check(code == 0 and "title=Maskora" in box and any(about in line for line in box),
              "About box", "|".join(box))

        xdotool("key", "alt+F4")
        try:
            code = program.process.wait(timeout=TIMEOUT)
            check(code == 0, "closed, the program ends", f"exit code {code}")
        except subprocess.TimeoutExpired:
            check(False, "the program ends when its window is closed")
    finally:
        program.close()
    print("ok" if not failures else f"{len(failures)} problem(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
