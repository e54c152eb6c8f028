# SPDX-License-Identifier: MIT
"""Builds the Debian package from a build tree, checks it with lintian, unpacks it into a
temporary root and starts the unpacked program on a throw-away X display. Also installs the
build tree as `cmake --install` does, which must leave out the package's own documentation.

Usage: package_test.py CPACK BUILD_DIR CMAKE
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

# Keeps the source tree free of compiled helper modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktop import Desktop, Failure, exit_on_sigterm, need  # noqa: E402

APP_ID = "io.github.maskora.Maskora"
INSTALLED = [
    "usr/bin/maskora",
    "usr/libexec/maskora/maskora",
    "usr/share/applications/%s.desktop" % APP_ID,
    "usr/share/metainfo/%s.metainfo.xml" % APP_ID,
    "usr/share/icons/hicolor/16x16/apps/%s.png" % APP_ID,
    "usr/share/icons/hicolor/32x32/apps/%s.png" % APP_ID,
    "usr/share/icons/hicolor/scalable/apps/%s.svg" % APP_ID,
]
# Debian's copyright and changelog: in the package only.
PACKAGE_DOC = ["usr/share/doc/maskora/copyright", "usr/share/doc/maskora/changelog.gz"]
# Libraries the binary links against; dpkg-shlibdeps must turn each into a dependency.
LINKED_PACKAGES = ["libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6",
                   "libcurl4"]


def run(command, what, timeout=300, cwd=None):
    try:
        result = subprocess.run(command, capture_output=True, text=True, timeout=timeout,
                                cwd=cwd, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        raise Failure("%s took more than %d s" % (what, timeout))
    if result.returncode != 0:
        raise Failure("%s failed (exit %d):\n%s%s" % (what, result.returncode, result.stdout,
                                                     result.stderr))
    return result.stdout


def build_package(cpack, build_dir, out_dir):
    run([cpack, "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-G", "DEB",
         "-B", out_dir], "cpack -G DEB", cwd=build_dir)
    debs = [f for f in os.listdir(out_dir) if f.endswith(".deb")]
    if len(debs) != 1:
        raise Failure("cpack made %d .deb files in %s: %s" % (len(debs), out_dir, debs))
    return os.path.join(out_dir, debs[0])


def check_control(deb):
    fields = {}
    for line in run(["dpkg-deb", "--field", deb], "dpkg-deb --field").splitlines():
        if line and not line[0].isspace() and ":" in line:
            key, value = line.split(":", 1)
            fields[key] = value.strip()
    for key in ("Package", "Version", "Architecture", "Maintainer", "Section", "Priority",
                "Depends", "Description", "Homepage"):
        if not fields.get(key):
            raise Failure("the package has no %s field: %s" % (key, fields))
    if fields["Package"] != "maskora":
        raise Failure("the package is called %r, not maskora" % fields["Package"])
    depends = {d.split()[0] for d in fields["Depends"].replace("|", ",").split(",")}
    missing = [p for p in LINKED_PACKAGES if p not in depends]
    if missing:
        raise Failure("Depends lacks %s: %s" % (missing, fields["Depends"]))
    return fields


def lint(deb):
    # Errors fail the package; warnings are shown for the reader.
    try:
        result = subprocess.run(["lintian", "--fail-on", "error", "--display-info", deb],
                                capture_output=True, text=True, timeout=600,
                                stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        raise Failure("lintian took more than 600 s")
    findings = [line for line in result.stdout.splitlines() if line.strip()]
    for line in findings:
        print("lintian: " + line)
    errors = [line for line in findings if line.startswith("E:")]
    if result.returncode != 0 or errors:
        raise Failure("lintian found errors (exit %d):\n%s%s" % (result.returncode,
                                                                "\n".join(errors),
                                                                result.stderr))


def unpack(deb, root):
    run(["dpkg-deb", "-x", deb, root], "dpkg-deb -x")
    absent = [p for p in INSTALLED + PACKAGE_DOC if not os.path.isfile(os.path.join(root, p))]
    if absent:
        raise Failure("the package does not install %s" % absent)
    for program in ("usr/bin/maskora", "usr/libexec/maskora/maskora"):
        if not os.access(os.path.join(root, program), os.X_OK):
            raise Failure("%s is not executable" % program)
    # The command answers without the window's libraries: it loads neither Qt nor libcurl.
    needed = run(["readelf", "-d", os.path.join(root, "usr/bin/maskora")], "readelf")
    if "Qt" in needed or "curl" in needed:
        raise Failure("usr/bin/maskora loads the window's libraries:\n%s" % needed)


def plain_install(cmake, build_dir, root):
    """What `cmake --install` puts under root/usr: the program, without the package's doc."""
    run([cmake, "--install", build_dir, "--prefix", os.path.join(root, "usr")],
        "cmake --install")
    absent = [p for p in INSTALLED if not os.path.isfile(os.path.join(root, p))]
    if absent:
        raise Failure("cmake --install does not install %s" % absent)
    doc = os.path.join(root, "usr/share/doc/maskora")
    if os.path.exists(doc):
        raise Failure("cmake --install installs the package's %s" % sorted(os.listdir(doc)))


def start_unpacked(root, seconds_up=1.5):
    with Desktop() as desktop:
        maskora = desktop.spawn([os.path.join(root, "usr/bin/maskora")])
        desktop.wait_for_window(maskora, "^Maskora")
        time.sleep(seconds_up)
        if maskora.poll() is not None:
            raise Failure("the unpacked program exited with %d after its window appeared"
                          % maskora.returncode)


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    exit_on_sigterm()
    cpack, build_dir, cmake = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    work = tempfile.mkdtemp(prefix="maskora-package-")
    try:
        need("dpkg-deb", "dpkg-shlibdeps", "lintian")
        started = time.monotonic()
        deb = build_package(cpack, build_dir, os.path.join(work, "out"))
        fields = check_control(deb)
        print("package: %s, Depends: %s" % (os.path.basename(deb), fields["Depends"]))
        lint(deb)
        root = os.path.join(work, "root")
        unpack(deb, root)
        start_unpacked(root)
        plain_install(cmake, build_dir, os.path.join(work, "plain"))
        print("package: passed in %.1f s" % (time.monotonic() - started))
    except Failure as error:
        print("package: FAILED: %s" % error, file=sys.stderr)
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
