#!/usr/bin/env python3
"""Runs a Windows program under Wine at another DPI (Wine's LogPixels), then puts it back.

  at_dpi.py WINE DPI PROGRAM [ARGUMENTS...]

Wine reads the setting when a program starts, so the programs started meanwhile see it too:
the tests that use this run alone.
"""

import subprocess
import sys

KEY = r"HKCU\Control Panel\Desktop"


def reg(wine, *args):
    subprocess.run([wine, "reg", *args], check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    wine, dpi, *command = sys.argv[1:]
    reg(wine, "add", KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", dpi, "/f")
    try:
        return subprocess.run([wine, *command], stdin=subprocess.DEVNULL).returncode
    finally:
        reg(wine, "delete", KEY, "/v", "LogPixels", "/f")


if __name__ == "__main__":
    sys.exit(main())
