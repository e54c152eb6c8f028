# SPDX-License-Identifier: MIT
"""A throw-away X display, with a private session bus when asked, for tests that run the real
program as a person would.

Everything started here runs in its own process group, so that stopping a group by its leader's
process id also stops what the bus daemon activated (the accessibility bus and its registry).
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


class Failure(Exception):
    pass


def exit_on_sigterm():
    """Turns ctest's SIGTERM at a time-out into an exit that still stops what was started."""
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))


def need(*programs):
    missing = [p for p in programs if shutil.which(p) is None]
    if missing:
        raise Failure("missing programs: %s (install them with scripts/install-deps test)"
                      % " ".join(missing))


def read_line(fd, seconds, what):
    """Reads up to a newline from a pipe that a child writes once it is ready."""
    deadline = time.monotonic() + seconds
    data = b""
    os.set_blocking(fd, False)
    while not data.endswith(b"\n"):
        if time.monotonic() > deadline:
            raise Failure("%s did not start within %g s" % (what, seconds))
        try:
            chunk = os.read(fd, 4096)
        except BlockingIOError:
            time.sleep(0.01)
            continue
        if not chunk:
            raise Failure("%s exited before it was ready" % what)
        data += chunk
    return data.decode().strip()


class Desktop:
    """Xvfb on a display number that it picks itself; optionally a D-Bus session bus."""

    def __init__(self, with_bus=False):
        self.with_bus = with_bus
        self.groups = []
        self.home = tempfile.mkdtemp(prefix="maskora-desktop-")
        runtime = os.path.join(self.home, "runtime")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ)
        # The program must reach the real X server, never the offscreen platform of unit tests.
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                     "AT_SPI_BUS_ADDRESS", "SESSION_MANAGER"):
            env.pop(name, None)
        env.update(XDG_RUNTIME_DIR=runtime,
                   XDG_CACHE_HOME=os.path.join(self.home, "cache"),
                   XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_DATA_HOME=os.path.join(self.home, "data"))
        self.env = env

    def __enter__(self):
        try:
            self._start_x()
            if self.with_bus:
                self._start_bus()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        for process in reversed(self.groups):
            stop_group(process)
        self.groups.clear()
        shutil.rmtree(self.home, ignore_errors=True)
        return False

    def _start_x(self):
        need("Xvfb", "xdotool")
        read_end, write_end = os.pipe()
        try:
            self.spawn(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset",
                               "-screen", "0", "1024x768x24"],
                              pass_fds=[write_end], stderr=subprocess.DEVNULL)
        finally:
            os.close(write_end)
        try:
            number = read_line(read_end, 15, "Xvfb")
        finally:
            os.close(read_end)
        self.env["DISPLAY"] = ":" + number

    def _start_bus(self):
        need("dbus-daemon", "dbus-send")
        read_end, write_end = os.pipe()
        try:
            self.spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                        "--print-address=%d" % write_end],
                       pass_fds=[write_end], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        finally:
            os.close(write_end)
        try:
            self.env["DBUS_SESSION_BUS_ADDRESS"] = read_line(read_end, 15, "dbus-daemon")
        finally:
            os.close(read_end)
        # Start the accessibility bus now, so that the program finds it when it starts: a
        # program that starts first keeps its bridge switched off.
        self.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                  "/org/a11y/bus", "org.a11y.Bus.GetAddress"], timeout=20,
                 what="starting the accessibility bus")

    def spawn(self, command, **options):
        """Starts a process in a group of its own, stopped when the desktop closes."""
        options.setdefault("stdin", subprocess.DEVNULL)
        process = subprocess.Popen(command, env=self.env, start_new_session=True, **options)
        self.groups.append(process)
        return process

    def run(self, command, timeout=10, what=None):
        try:
            result = subprocess.run(command, env=self.env, capture_output=True, text=True,
                                    timeout=timeout, stdin=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            raise Failure("%s: no answer within %g s" % (what or " ".join(command), timeout))
        if result.returncode != 0:
            raise Failure("%s failed (exit %d): %s" % (what or " ".join(command),
                                                       result.returncode,
                                                       result.stderr.strip()))
        return result.stdout

    def wait_for_window(self, process, title, seconds=15):
        """The id of the first visible window whose title matches, once it is mapped."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if process.poll() is not None:
                raise Failure("the program exited with %d before its window appeared"
                              % process.returncode)
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                                    env=self.env, capture_output=True, text=True, timeout=10)
            ids = result.stdout.split()
            if ids:
                return ids[0]
            time.sleep(0.05)
        raise Failure("no visible window titled %r within %g s" % (title, seconds))


def stop_group(process, grace=3.0):
    """Terminates a process group that this module started, by its leader's id."""
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        pass
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    process.wait()
