# SPDX-License-Identifier: MIT
"""Runs a command as a process of its own and returns that process's own resource usage.

A process that Python starts directly reports at least Python's peak memory as its max RSS:
Linux carries the memory the process had before exec over into ru_maxrss, and a child that
posix_spawn, vfork or fork makes from Python starts out with Python's memory. So the command
is started through `setsid -f`, which forks a small copy of itself that execs the command and
leaves at once; this process is made the reaper of that orphan, and os.wait4 then returns the
command's own processor time and peak memory. The small copy of setsid that the command
replaces counts only where the command itself stays below it: a run of `true` shows that floor
(about 1 MiB). The wall time runs from starting the launcher, a few milliseconds early.
"""
import ctypes
import os
import select
import signal
import subprocess
import time

PR_SET_CHILD_SUBREAPER = 36
_reaper = False


class Usage:
    """What one run of a command cost: exit status, times in seconds, peak memory in KiB."""

    def __init__(self, status, rusage, wall, capped, read_bytes):
        self.exit_code = os.waitstatus_to_exitcode(status)
        self.user = rusage.ru_utime
        self.sys = rusage.ru_stime
        self.cpu = rusage.ru_utime + rusage.ru_stime
        self.maxrss_kib = rusage.ru_maxrss
        self.wall = wall
        self.capped = capped  # killed when the time cap ran out
        self.read_bytes = read_bytes  # how far it read its standard input, when that is a file


def _become_reaper():
    global _reaper
    if _reaper:
        return
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        raise OSError(ctypes.get_errno(), "prctl(PR_SET_CHILD_SUBREAPER)")
    _reaper = True


def stop_group(process):
    """Ends the process group that process leads: politely, then for good."""
    try:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(timeout=3)
    except ProcessLookupError:
        pass
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
    process.wait()


def processes(which):
    """Process ids of the processes whose /proc stat fields (after the name: state, parent,
    group, session, ...) which accepts."""
    found = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % name) as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if which(fields):
            found.append(int(name))
    return found


def _children():
    """Process ids whose parent is this process, orphans handed to it included."""
    me = os.getpid()
    try:
        with open("/proc/%d/task/%d/children" % (me, me)) as children:
            return [int(pid) for pid in children.read().split()]
    except FileNotFoundError:
        pass  # a kernel without that file: look through every process
    return processes(lambda fields: int(fields[1]) == me)


def run(argv, stdin=None, stdout=None, stderr=None, cap=None, cpu=None):
    """Runs argv once and returns its Usage.

    stdin, stdout and stderr are file paths (None: /dev/null). cpu pins the command to that
    processor (taskset). cap is a limit in seconds of wall time, after which the command is
    killed and the usage so far returned, marked capped.
    """
    _become_reaper()
    launcher = ["setsid", "-f"] + list(argv)
    if cpu is not None:
        # taskset runs in the spawned process and execs setsid; the command, forked by setsid,
        # inherits the affinity.
        launcher = ["taskset", "-c", str(cpu)] + launcher
    fds = [os.open(stdin or os.devnull, os.O_RDONLY),
           os.open(stdout or os.devnull, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600),
           os.open(stderr or os.devnull, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)]
    try:
        actions = [(os.POSIX_SPAWN_DUP2, fd, target) for target, fd in enumerate(fds)]
        started = time.monotonic()
        launcher_pid = os.posix_spawnp(launcher[0], launcher, os.environ, file_actions=actions)
        _, launcher_status = os.waitpid(launcher_pid, 0)
        if os.waitstatus_to_exitcode(launcher_status) != 0:
            raise OSError("%s exited with %d" % (" ".join(launcher[:-len(argv)]),
                                                 os.waitstatus_to_exitcode(launcher_status)))
        children = _children()
        if len(children) != 1:
            raise OSError("expected the command as the one child left, found %r" % children)
        pid = children[0]
        capped = False
        if cap:
            pidfd = os.pidfd_open(pid)
            try:
                if not select.select([pidfd], [], [], cap)[0]:
                    capped = True
                    os.kill(pid, signal.SIGKILL)
            finally:
                os.close(pidfd)
        _, status, rusage = os.wait4(pid, 0)
        wall = time.monotonic() - started
        # The command shared the open file description of its standard input with this
        # process, so its offset tells how far the command read.
        read_bytes = os.lseek(fds[0], 0, os.SEEK_CUR) if stdin else None
        return Usage(status, rusage, wall, capped, read_bytes)
    finally:
        for fd in fds:
            os.close(fd)
