# SPDX-License-Identifier: MIT
"""Closes the window while the public-address button waits for an answer that never comes: the
program must end promptly and never show its window again.

Usage: close_pending.py PATH_TO_MASKORA PATH_TO_FORM1_JSON
Prints how long the process took to exit after the window was asked to close.
"""
import os
import socket
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, Failure, exit_on_sigterm  # noqa: E402
from screen import access_key, load_description, title_pattern  # noqa: E402

EXIT_WAIT = 10.0


def ask_to_close(display, window_id):
    """Sends WM_DELETE_WINDOW, as a window manager does when the user clicks close."""
    from Xlib import X, display as xdisplay, protocol
    d = xdisplay.Display(display)
    window = d.create_resource_object("window", int(window_id))
    delete = d.intern_atom("WM_DELETE_WINDOW")
    event = protocol.event.ClientMessage(window=window, client_type=d.intern_atom("WM_PROTOCOLS"),
                                         data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(event)
    # A round trip, not a flush: a server that finds the connection closed before it has read
    # the request drops it, and the window never hears of the close.
    d.sync()
    d.close()


def main(program, description):
    exit_on_sigterm()
    # A server that takes the connection and never answers: the request stays pending.
    silent = socket.socket()
    silent.bind(("127.0.0.1", 0))
    silent.listen(8)
    with Desktop() as desktop:
        desktop.env["MASKORA_SRV_ENDPOINT"] = "127.0.0.1:%d" % silent.getsockname()[1]
        app = desktop.spawn([program])
        window = desktop.wait_for_window(app, title_pattern(description))
        desktop.run(["xdotool", "windowfocus", "--sync", window])
        desktop.run(["xdotool", "key", access_key(description, "CmdGetIpSrv")])
        time.sleep(1.5)
        if app.poll() is not None:
            raise Failure("the program ended before the window was closed")
        closed = time.monotonic()
        ask_to_close(desktop.env["DISPLAY"], window)
        deadline = closed + EXIT_WAIT
        while app.poll() is None and time.monotonic() < deadline:
            time.sleep(0.01)
        took = time.monotonic() - closed
        if app.returncode is None:
            raise Failure("still running %g s after its window was closed" % EXIT_WAIT)
        if app.returncode != 0:
            raise Failure("exited with %d after its window was closed" % app.returncode)
        print("closed with a pending request: exited after %.3f s" % took)
    silent.close()


if __name__ == "__main__":
    try:
        main(sys.argv[1], load_description(sys.argv[2]))
    except Failure as failure:
        print("FAIL: %s" % failure)
        sys.exit(1)
