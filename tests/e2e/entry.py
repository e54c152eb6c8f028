# SPDX-License-Identifier: MIT
"""Enters addresses as a person would, through a real X server: the window opened with an
address from the command line, Alt chords and sideways scrolling that must not change a field,
"/" then the prefix, and pastes from a real clipboard owner (xclip) by every way there is, with
the results following a paste that no key release recalculates.

Usage: entry.py PATH_TO_MASKORA PATH_TO_FORM1_JSON
Needs what e2e.py needs, and xclip.
"""
import os
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import need  # noqa: E402
from screen import main_with_window  # noqa: E402

MASK_8 = "( 8 ) 255.0.0.0"


def mask_entry(prefix):
    """The list's entry of a prefix, as the window writes it."""
    pad = " " if prefix < 10 else ""
    value = (0xFFFFFFFF << (32 - prefix)) & 0xFFFFFFFF
    dotted = ".".join(str((value >> shift) & 0xFF) for shift in (24, 16, 8, 0))
    return "(%s%d%s) %s" % (pad, prefix, pad, dotted)


def check(screen, desktop):
    key = screen.xdotool
    # Opened from the command line with 10.1.2.3/8.
    screen.octets_are(["10", "1", "2", "3"], "starting with 10.1.2.3/8")
    screen.expect({"mask": MASK_8, "txtNetwork": "10.0.0.0"}, "starting with 10.1.2.3/8")

    # Alt chords never type into a field: a letter, a dot, and the class button's key while the
    # button is disabled (class D).
    screen.click_octet(3)
    key("key", "--delay", "50", "alt+x", "alt+period", "alt+5")
    screen.settle()
    screen.expect({"txtIP(3)": "3"}, "Alt+x, Alt+. and Alt+5")
    key("key", "--delay", "50", screen.access_key("lblDesc(0)"), "2", "2", "4")
    screen.octets_are(["224", "1", "2", "3"], "typing 224 into the first field")
    screen.click_octet(3)
    key("key", "--delay", "50", screen.access_key("cmdSet"))
    screen.settle()
    key("key", "Tab")
    screen.settle()
    screen.octets_are(["224", "1", "2", "3"], "the disabled class button's key")
    screen.expect({"mask": MASK_8}, "the disabled class button's key")

    # Sideways scrolling steps nothing; Alt with the wheel steps while Alt is held.
    screen.click_octet(3)
    for button in ("6", "7", "7"):
        key("click", button)
    screen.settle()
    screen.expect({"txtIP(3)": "3"}, "sideways scrolling")
    key("keydown", "alt")
    key("click", "4")
    key("keyup", "alt")
    screen.expect({"txtIP(3)": "4"}, "Alt and one wheel notch up")
    key("click", "6")
    screen.settle()
    screen.expect({"txtIP(3)": "4"}, "sideways scrolling after Alt was released")

    # "/" goes on to the mask list and the digits typed next pick the prefix.
    for typed, prefix in (("10.0.0.0/8", 8), ("192.168.1.0/24", 24), ("172.16.0.0/12", 12)):
        key("key", screen.access_key("lblDesc(0)"))
        key("type", "--delay", "50", typed)
        screen.octets_are(typed.split("/")[0].split("."), "typing " + typed)
        screen.expect({"mask": mask_entry(prefix)}, "typing " + typed)

    # Pastes from a real clipboard owner.
    def own(selection, text):
        owner = desktop.spawn(["xclip", "-quiet", "-selection", selection],
                              stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)
        owner.stdin.write(text.encode())
        owner.stdin.close()
        screen.settle(0.2)

    own("clipboard", "192.168.1.10/16\n")
    screen.click_octet(1)
    key("key", "ctrl+v")
    screen.octets_are(["192", "168", "1", "10"], "Ctrl+V of 192.168.1.10/16")
    screen.expect({"mask": mask_entry(16)}, "Ctrl+V of 192.168.1.10/16")

    own("clipboard", "  10.1.2.3 255.0.0.0 ")
    screen.click_octet(2)
    key("key", "shift+Insert")
    screen.octets_are(["10", "1", "2", "3"], "Shift+Insert of 10.1.2.3 255.0.0.0")
    screen.expect({"mask": MASK_8}, "Shift+Insert of 10.1.2.3 255.0.0.0")

    own("clipboard", "256.1.2.3/8")
    screen.click_octet(0)
    key("key", "ctrl+v")
    screen.settle()
    screen.octets_are(["10", "1", "2", "3"], "Ctrl+V of the malformed 256.1.2.3/8")

    own("clipboard", "12345")
    screen.click_octet(2)
    key("key", "--delay", "50", "ctrl+a", "BackSpace", "ctrl+v")
    screen.octets_are(["10", "1", "123", "3"], "Ctrl+V of 12345 into an empty field")

    own("clipboard", "172.16.0.1/12")
    screen.point_at(screen.octets[0])
    key("click", "3")
    screen.settle()
    key("key", "p")  # Paste, in the field's context menu
    screen.octets_are(["172", "16", "0", "1"], "the context menu's Paste of 172.16.0.1/12")
    screen.expect({"mask": mask_entry(12)}, "the context menu's Paste of 172.16.0.1/12")

    own("primary", "10.20.30.40/30")
    screen.point_at(screen.octets[2])
    key("click", "2")
    screen.octets_are(["10", "20", "30", "40"], "the middle button's paste of 10.20.30.40/30")
    screen.expect({"mask": mask_entry(30)}, "the middle button's paste of 10.20.30.40/30")

    # A number by the middle button lands in the field, and with no key to release the results
    # follow at once.
    screen.click_octet(2)
    key("key", "--delay", "50", "End", "BackSpace", "BackSpace")
    screen.expect({"txtIP(2)": "", "txtNetwork": "10.20.0.40"}, "emptying the third field")
    own("primary", "90")
    screen.point_at(screen.octets[2])
    key("click", "2")
    screen.expect({"txtIP(2)": "90", "txtNetwork": "10.20.90.40"},
                  "the middle button's paste of 90")


def main():
    return main_with_window(__doc__, "address entry", check, arguments=["10.1.2.3/8"], before=lambda: need("xclip"))


if __name__ == "__main__":
    sys.exit(main())
