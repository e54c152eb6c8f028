# SPDX-License-Identifier: MIT
"""Starts the program with a FIFO where its settings file belongs, with no writer: the window
must appear all the same, and standard error must say in one line that the file was refused.

Usage: settings_fifo.py PATH_TO_MASKORA PATH_TO_FORM1_JSON
Prints the seconds from the start to the visible window, without and with the FIFO.
"""
import os
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, Failure, exit_on_sigterm, stop_group  # noqa: E402
from screen import load_description, title_pattern  # noqa: E402


def start(desktop, program, description):
    """Seconds to the visible window, and what the program wrote to standard error."""
    with tempfile.TemporaryFile() as errors:
        started = time.monotonic()
        app = desktop.spawn([program], stderr=errors)
        desktop.wait_for_window(app, title_pattern(description))
        took = time.monotonic() - started
        stop_group(app)
        errors.seek(0)
        return took, errors.read().decode()


def main(program, description):
    exit_on_sigterm()
    with Desktop() as desktop:
        desktop.env.pop("MASKORA_SRV_ENDPOINT", None)
        folder = os.path.join(desktop.env["XDG_CONFIG_HOME"], "maskora")
        os.makedirs(folder)
        plain, _ = start(desktop, program, description)
        settings = os.path.join(folder, "maskora.conf")
        os.mkfifo(settings)
        took, errors = start(desktop, program, description)
        wanted = ("maskora: settings file %s: not a regular file; \"&SRV\" is switched off and "
                  "gives the local address\n" % settings)
        if wanted not in errors or errors.count("maskora: ") != 1:
            raise Failure("standard error %r lacks the one line %r" % (errors, wanted))
        print("window after %.3f s without a settings file, %.3f s with a FIFO" % (plain, took))


if __name__ == "__main__":
    try:
        main(sys.argv[1], load_description(sys.argv[2]))
    except Failure as failure:
        print("FAIL: %s" % failure)
        sys.exit(1)
