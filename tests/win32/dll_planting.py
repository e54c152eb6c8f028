#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A winhttp.dll and a wsock32.dll planted beside the program are never loaded.

Copies the probe and the planted DLLs (which leave a marker file when loaded) into a fresh
folder and runs the probe there under Wine, with Wine told to prefer a DLL found on the search
path over its own (WINEDLLOVERRIDES n,b), as Windows does. First a control: the probe loading
the DLLs by name, as an import at start-up is found, must pick the planted ones; then the probe
starting as Maskora.exe does must use the system's and leave no marker.

Usage: dll_planting.py WINE PROBE.exe PLANTED_FOLDER
"""

import os
import shutil
import subprocess
import sys
import tempfile

DLLS = ("winhttp.dll", "wsock32.dll")


def run(wine, folder, *args):
    env = dict(os.environ)
    overrides = [o for o in env.get("WINEDLLOVERRIDES", "").split(";") if o]
    env["WINEDLLOVERRIDES"] = ";".join(overrides + ["winhttp,wsock32=n,b"])
    return subprocess.run([wine, os.path.join(folder, "probe.exe"), *args], cwd=folder, env=env,
                          stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=120).returncode


def markers(folder):
    return sorted(name for name in DLLS if os.path.exists(os.path.join(folder, name + ".loaded")))


def main():
    wine, probe, planted = sys.argv[1:4]
    with tempfile.TemporaryDirectory(prefix="maskora-planted-") as folder:
        shutil.copy(probe, os.path.join(folder, "probe.exe"))
        for name in DLLS:
            shutil.copy(os.path.join(planted, name), folder)

        run(wine, folder, "unprotected")
        if markers(folder) != sorted(DLLS):
            print(f"dll_planting: the control loaded only {markers(folder)} of {DLLS}: the "
                  "planted DLLs are not reachable, so the test proves nothing", file=sys.stderr)
            return 1
        for name in DLLS:
            os.remove(os.path.join(folder, name + ".loaded"))

        status = run(wine, folder)
        loaded = markers(folder)
        if loaded:
            print(f"dll_planting: the program loaded the planted {loaded}", file=sys.stderr)
            return 1
        if status != 0:
            print(f"dll_planting: the probe exited with {status}: the system's WinHTTP or "
                  "Windows Sockets did not work", file=sys.stderr)
            return 1
        print(f"dll_planting: the control loaded the planted {list(DLLS)}; the program loaded "
              "neither and used the system's")
    return 0


if __name__ == "__main__":
    sys.exit(main())
