# SPDX-License-Identifier: MIT
"""The window as a person meets it: keys and the mouse through xdotool, what it shows read
through the accessibility bus as a screen reader does, and the window's description as the
build wrote it (form1.json).
"""
import json
import os
import re
import subprocess
import sys
import time

from desktop import Desktop, Failure, exit_on_sigterm


def load_description(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def access_key(description, control):
    return "alt+" + description["controls"][control]["key"]


def title_pattern(description):
    """The xdotool search pattern of the window's caption."""
    return "^" + re.escape(description["caption"]) + "$"


class Screen:
    """The window on the accessibility bus, and the user's keyboard and mouse."""

    def __init__(self, desktop, window, pyatspi, description):
        self.desktop = desktop
        self.window = window
        self.pyatspi = pyatspi
        controls = description["controls"]
        # Accessible names by the controls' own names ("txtIP(0)", "txtNetwork").
        self.names = {key: c["name"] for key, c in controls.items() if c["name"]}
        self.keys = {key: c["key"] for key, c in controls.items()}
        self.octets = [controls["txtIP(%d)" % i]["name"] for i in range(4)]
        self.results = [c["name"] for c in controls.values() if c["kind"] == "result"]
        self.list = next(c["name"] for c in controls.values() if c["kind"] == "list")
        self.controls = self._find_controls()

    def _find_controls(self, seconds=15):
        deadline = time.monotonic() + seconds
        wanted = self.octets + self.results
        while time.monotonic() < deadline:
            for app in self.pyatspi.Registry.getDesktop(0):
                if app is not None and app.name == "Maskora":
                    controls = {}
                    self._collect(app, controls)
                    if all(name in controls for name in wanted):
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
            if child.getRole() == self.pyatspi.ROLE_COMBO_BOX:
                controls.setdefault(self.list, child)  # named by its entry; see Screen.mask
            elif child.name and child.name not in controls:
                controls[child.name] = child
            self._collect(child, controls, depth + 1)

    def text(self, name):
        text = self.controls[name].queryText()
        return text.getText(0, text.characterCount)

    def mask(self):
        """The mask list's selected entry."""
        return self.controls[self.list].name

    def focused(self, name):
        return self.controls[name].getState().contains(self.pyatspi.STATE_FOCUSED)

    def snapshot(self):
        shown = {name: self.text(name) for name in self.octets + self.results}
        shown["mask"] = self.mask()
        return shown

    def access_key(self, control):
        """xdotool's name of the Alt chord that the control's caption marks."""
        return "alt+" + self.keys[control]

    def xdotool(self, *arguments):
        self.desktop.run(["xdotool", *arguments], what="xdotool " + " ".join(arguments))

    def centre(self, name):
        """The control's centre on the screen, from its extents on the accessibility bus."""
        extents = self.controls[name].queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        return extents.x + extents.width // 2, extents.y + extents.height // 2

    def point_at(self, name):
        x, y = self.centre(name)
        self.xdotool("mousemove", str(x), str(y))

    def click_octet(self, index, button="1"):
        self.point_at(self.octets[index])
        self.xdotool("click", button)
        self.wait_until(lambda: self.focused(self.octets[index]),
                        "the focus in %r after clicking it" % self.octets[index])

    def wait_until(self, condition, what, seconds=5):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if condition():
                return
            time.sleep(0.05)
        raise Failure("waited %g s for %s; the window shows %s" % (seconds, what,
                                                                  self.snapshot()))

    def expect(self, wanted, after):
        """Waits until the controls, named as in the description ("txtIP(3)", "txtNetwork",
        "mask" for the list's entry), show the wanted texts."""
        def shows():
            return all((self.mask() if k == "mask" else self.text(self.names[k])) == v
                       for k, v in wanted.items())
        self.wait_until(shows, "%s after %s" % (wanted, after))

    def octets_are(self, values, after):
        self.expect({"txtIP(%d)" % i: v for i, v in enumerate(values)}, after)

    def settle(self, seconds=0.3):
        """Lets an action that should change nothing have its chance to change something."""
        time.sleep(seconds)


def run_with_window(program, description, check, arguments=(), extra_env=None):
    """Starts the program on a fresh X display with an accessibility bus, runs check(screen)
    and stops everything. Returns the seconds the check took."""
    with Desktop(with_bus=True) as desktop:
        desktop.env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        desktop.env.update(extra_env or {})
        # The accessibility client reads its bus from the environment when it is loaded.
        os.environ.update(desktop.env)
        try:
            import pyatspi
        except ImportError as error:
            raise Failure("python3-pyatspi is missing (%s); install it with "
                          "scripts/install-deps test" % error)
        started = time.monotonic()
        maskora = desktop.spawn([program, *arguments])
        window = desktop.wait_for_window(maskora, title_pattern(description))
        # No window manager runs on the test display, so the test gives the window the focus.
        desktop.run(["xdotool", "windowfocus", "--sync", window])
        check(Screen(desktop, window, pyatspi, description), desktop)
        if maskora.poll() is not None:
            raise Failure("Maskora exited with %d during the test" % maskora.returncode)
        return time.monotonic() - started


def main_with_window(usage, name, check, arguments=(), before=None):
    """The command line of a test that drives the window: PROGRAM DESCRIPTION_JSON."""
    if len(sys.argv) != 3:
        print(usage, file=sys.stderr)
        return 2
    exit_on_sigterm()
    try:
        if before:
            before()
        took = run_with_window(os.path.abspath(sys.argv[1]), load_description(sys.argv[2]),
                               check, arguments=arguments)
        print("%s: passed in %.1f s" % (name, took))
    except (Failure, subprocess.SubprocessError) as error:
        print("%s: FAILED: %s" % (name, error), file=sys.stderr)
        return 1
    return 0
