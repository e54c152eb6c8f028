"""Uses the built program as a person would: it types and turns the wheel through a real X
server and reads what the window shows through the accessibility bus, as a screen reader does.

Usage: e2e.py PATH_TO_MASKORA
Needs Xvfb, xdotool, dbus-daemon, at-spi2-core and python3-pyatspi (scripts/install-deps test).
"""
import os
import subprocess
import sys
import time

# Keeps the source tree free of compiled helper modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import Desktop, Failure, exit_on_sigterm  # noqa: E402

TITLE = "^Maskora 1.0"
OCTETS = ["Indirizzo IP, parte %d" % i for i in range(1, 5)]
RESULTS = ["Stato IP", "Tipo indirizzo", "Classe rete", "Broadcast", "Hosts", "Network"]
# Centre of each octet field in window pixels: the fields are 21 x 17 pixels at x 78, 100,
# 122, 144 and y 6.
OCTET_CENTRES = [(88, 14), (110, 14), (132, 14), (154, 14)]


class Screen:
    """The window as the accessibility bus shows it, and the user's keyboard and mouse."""

    def __init__(self, desktop, window, pyatspi):
        self.desktop = desktop
        self.window = window
        self.pyatspi = pyatspi
        self.controls = self._find_controls()

    def _find_controls(self, seconds=15):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            for app in self.pyatspi.Registry.getDesktop(0):
                if app is not None and app.name == "Maskora":
                    controls = {}
                    self._collect(app, controls)
                    if all(name in controls for name in OCTETS + RESULTS):
                        return controls
            time.sleep(0.1)
        raise Failure("Maskora did not show its octet and result fields on the accessibility "
                      "bus within %g s" % seconds)

    def _collect(self, node, controls, depth=0):
        if depth > 8:
            return
        for child in node:
            if child is None:
                continue
            if child.name and child.name not in controls:
                controls[child.name] = child
            self._collect(child, controls, depth + 1)

    def text(self, name):
        text = self.controls[name].queryText()
        return text.getText(0, text.characterCount)

    def focused(self, name):
        return self.controls[name].getState().contains(self.pyatspi.STATE_FOCUSED)

    def snapshot(self):
        return {name: self.text(name) for name in OCTETS + RESULTS}

    def xdotool(self, *arguments):
        self.desktop.run(["xdotool", *arguments], what="xdotool " + " ".join(arguments))

    def click_octet(self, index):
        x, y = OCTET_CENTRES[index]
        self.xdotool("mousemove", "--window", self.window, str(x), str(y))
        self.xdotool("click", "1")
        self.wait_until(lambda: self.focused(OCTETS[index]),
                        "the focus in %r after clicking it" % OCTETS[index])

    def wait_until(self, condition, what, seconds=5):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if condition():
                return
            time.sleep(0.05)
        raise Failure("waited %g s for %s; the window shows %s" % (seconds, what,
                                                                  self.snapshot()))

    def expect(self, wanted, after):
        self.wait_until(lambda: all(self.text(k) == v for k, v in wanted.items()),
                        "%s after %s" % (wanted, after))


def check(screen):
    # The window opens with 0.0.0.0/24 already evaluated.
    screen.expect({"Network": "0.0.0.0", "Broadcast": "0.0.0.255", "Hosts": "254"},
                  "start-up")

    # No window manager runs on the test display, so the test gives the window the focus.
    screen.xdotool("windowfocus", "--sync", screen.window)
    # Alt+I, the access key of "Indirizzo IP:", enters the first field with its text selected.
    screen.xdotool("key", "alt+i")
    screen.wait_until(lambda: screen.focused(OCTETS[0]),
                      "the focus in %r after Alt+I" % OCTETS[0])
    # 10.1.2.3 through the keyboard, then Alt+E: the class A default mask /8.
    screen.xdotool("key", "--delay", "50", "1", "0", "period", "1", "period", "2", "period",
                   "3")
    screen.expect({OCTETS[0]: "10", OCTETS[1]: "1", OCTETS[2]: "2", OCTETS[3]: "3",
                   "Network": "10.1.2.0", "Broadcast": "10.1.2.255"}, "typing 10.1.2.3")
    screen.xdotool("key", "--delay", "50", "alt+e")
    screen.expect({"Network": "10.0.0.0", "Broadcast": "10.255.255.255", "Hosts": "16.777.214",
                   "Stato IP": "Valido", "Tipo indirizzo": "Privato",
                   "Classe rete": "A - ( 8 ) 255.0.0.0"}, "Alt+E on 10.1.2.3")

    # The wheel steps the octet field that has the focus while the pointer is over the window.
    screen.click_octet(3)
    screen.xdotool("click", "4")
    screen.expect({OCTETS[3]: "4"}, "one wheel step up in the fourth field")
    screen.xdotool("click", "--repeat", "2", "--delay", "50", "5")
    screen.expect({OCTETS[3]: "2", "Network": "10.0.0.0", "Hosts": "16.777.214"},
                  "two wheel steps down in the fourth field")
    screen.click_octet(1)
    screen.xdotool("click", "5")
    screen.expect({OCTETS[1]: "0", OCTETS[3]: "2"}, "one wheel step down in the second field")


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    exit_on_sigterm()
    program = os.path.abspath(sys.argv[1])
    try:
        with Desktop(with_bus=True) as desktop:
            desktop.env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
            # The accessibility client reads its bus from the environment when it is loaded.
            os.environ.update(desktop.env)
            try:
                import pyatspi
            except ImportError as error:
                raise Failure("python3-pyatspi is missing (%s); install it with "
                              "scripts/install-deps test" % error)
            started = time.monotonic()
            maskora = desktop.spawn([program])
            window = desktop.wait_for_window(maskora, TITLE)
            check(Screen(desktop, window, pyatspi))
            if maskora.poll() is not None:
                raise Failure("Maskora exited with %d during the test" % maskora.returncode)
            print("end-to-end: passed in %.1f s" % (time.monotonic() - started))
    except (Failure, subprocess.SubprocessError) as error:
        print("end-to-end: FAILED: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
