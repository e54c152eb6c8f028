#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs a Windows program under Wine at another DPI (Wine's LogPixels), then puts it back.

  at_dpi.py WINE DPI PROGRAM [ARGUMENTS...]

Wine reads the setting when a program starts, so the programs started meanwhile see it too:
the tests that use this run alone.
"""

import subprocess
import sys
import time

KEY = r"HKCU\Control Panel\Desktop"


def reg(wine, *args):
    # Wine's registry editor now and then fails while the previous test's programs wind down;
    # a second try a moment later succeeds.
    for attempt in range(5):
        done = subprocess.run([wine, "reg", *args], stdin=subprocess.DEVNULL,
                              capture_output=True, text=True)
        if done.returncode == 0:
            return
        time.sleep(0.5 * (attempt + 1))
    raise SystemExit("at_dpi: wine reg %s failed: %s" % (" ".join(args), done.stderr.strip()))


def main():
    wine, dpi, *command = sys.argv[1:]
    reg(wine, "add", KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", dpi, "/f")
    try:
        return subprocess.run([wine, *command], stdin=subprocess.DEVNULL).returncode
    finally:
        reg(wine, "delete", KEY, "/v", "LogPixels", "/f")


if __name__ == "__main__":
    sys.exit(main())
