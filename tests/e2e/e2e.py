# SPDX-License-Identifier: MIT
"""Uses the built program as a person would: it types and turns the wheel through a real X
server and reads what the window shows through the accessibility bus, as a screen reader does.

Usage: e2e.py PATH_TO_MASKORA PATH_TO_FORM1_JSON
Needs Xvfb, xdotool, dbus-daemon, at-spi2-core and python3-pyatspi (scripts/install-deps test).
"""
import os
import sys

# Keeps the source tree free of compiled helper modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from screen import main_with_window  # noqa: E402


def check(screen, desktop):
    octets = screen.octets
    # The window opens with 0.0.0.0/24 already evaluated.
    screen.expect({"txtNetwork": "0.0.0.0", "txtBroadcast": "0.0.0.255", "txtHosts": "254"},
                  "start-up")
    # The access key of the address's label enters the first field with its text selected.
    screen.xdotool("key", screen.access_key("lblDesc(0)"))
    screen.wait_until(lambda: screen.focused(octets[0]),
                      "the focus in %r after the label's access key" % octets[0])
    # 10.1.2.3 through the keyboard, then the class button's access key: the class A default
    # mask /8.
    screen.xdotool("key", "--delay", "50", "1", "0", "period", "1", "period", "2", "period",
                   "3")
    screen.octets_are(["10", "1", "2", "3"], "typing 10.1.2.3")
    screen.expect({"txtNetwork": "10.1.2.0", "txtBroadcast": "10.1.2.255"}, "typing 10.1.2.3")
    screen.xdotool("key", "--delay", "50", screen.access_key("cmdSet"))
    screen.expect({"txtNetwork": "10.0.0.0", "txtBroadcast": "10.255.255.255",
                   "txtHosts": "16.777.214", "txtStato": "Valido", "txtTipo": "Privato",
                   "txtClasse": "A - ( 8 ) 255.0.0.0"}, "the class button on 10.1.2.3")

    # The wheel steps the octet field that has the focus while the pointer is over the window.
    screen.click_octet(3)
    screen.xdotool("click", "4")
    screen.expect({"txtIP(3)": "4"}, "one wheel step up in the fourth field")
    screen.xdotool("click", "--repeat", "2", "--delay", "50", "5")
    screen.expect({"txtIP(3)": "2", "txtNetwork": "10.0.0.0", "txtHosts": "16.777.214"},
                  "two wheel steps down in the fourth field")
    screen.click_octet(1)
    screen.xdotool("click", "5")
    screen.expect({"txtIP(1)": "0", "txtIP(3)": "2"}, "one wheel step down in the second field")


def main():
    return main_with_window(__doc__, "end-to-end", check)


if __name__ == "__main__":
    sys.exit(main())
