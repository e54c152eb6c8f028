#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Windows downloads, made from the build and used as a Windows user would, under Wine.

  packages_test.py WINE BUILD_DIR VERSION PROBE_EXE

Makes the packages with packaging/windows/package.py: unsigned (the default) and signed with
a throwaway certificate of a throwaway CA. Checks what is inside them (that the packed
Maskora.exe carries the build's version, that README.txt says what SRV contacts), their
checksums, the one publisher's name in all of them, and that only the signed ones carry a
signature that osslsigncode accepts. Makes the unsigned ones once more, later and in another
time zone, and expects the same bytes. Then, in the Wine prefix of
WINEPREFIX on the X display of DISPLAY: runs the portable Maskora.exe of the signed zip
(nothing may appear beside it); installs the unsigned msi, then the signed one of the same
version over it (it must replace it); checks the installed files, the Start-menu shortcut
with its icon, and the Apps & features entry; starts Maskora from the shortcut and sees its
window; uninstalls, and expects the prefix's files and registry to be as they were before.
"""

import calendar
import json
import ntpath
import os
import re
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

import check_exe  # beside this file

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
PACKAGE = os.path.join(ROOT, "packaging", "windows", "package.py")
TIMEOUT = 15
# The Windows Installer's own folders and keys, which it makes when first used and which
# every Windows has.
INSTALLER_FOLDERS = re.compile(r"windows/installer|users/[^/]+/appdata/roaming/microsoft/installer")
INSTALLER_KEYS = re.compile(
    r"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\"
    r"(UpgradeCodes|UserData(\\S-[^\\]+(\\(Components|Products))?)?)|"
    r"HKEY_USERS\\S-[^\\]+\\Software\\Microsoft\\Installer(\\(Features|Products|UpgradeCodes))?")
# Wine's own settings, and its display driver's keys, which it writes whenever a desktop
# starts: written by Wine, not by anything installed.
WINE_KEYS = re.compile(r"HKEY_USERS\\[^\\]+\\Software\\Wine\\|"
                       r"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Video\\")
UNINSTALL = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
# The publisher is the copyright holder that the licence names.
PUBLISHER = re.search(r"^Copyright \(c\) \d+ (.+)$",
                      open(os.path.join(ROOT, "LICENSE")).read(), re.M).group(1)
failures = []


def check(ok, what):
    print(("ok: " if ok else "FAIL: ") + what)
    if not ok:
        failures.append(what)
    return ok


def run(*command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                          **kwargs)


def throwaway_signer(folder):
    """A CA, and a code-signing certificate it issued whose key has a password."""
    def path(name):
        return os.path.join(folder, name)

    with open(path("password"), "w") as f:
        f.write("throwaway\n")
    with open(path("signer.ext"), "w") as f:
        f.write("keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n")
    for command in (
        ["req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("ca.key"), "-out",
         path("ca.pem"), "-days", "2", "-subj", "/CN=Maskora Test CA",
         "-addext", "basicConstraints=critical,CA:TRUE",
         "-addext", "keyUsage=critical,keyCertSign"],
        ["req", "-newkey", "rsa:2048", "-passout", "file:" + path("password"), "-keyout",
         path("signer.key"), "-out", path("signer.csr"), "-subj", "/CN=Maskora Test Signer"],
        ["x509", "-req", "-in", path("signer.csr"), "-CA", path("ca.pem"), "-CAkey",
         path("ca.key"), "-set_serial", "2", "-days", "2", "-extfile", path("signer.ext"),
         "-out", path("signer.pem")],
    ):
        subprocess.run(["openssl", *command], check=True, capture_output=True)
    return ["--cert", path("signer.pem"), "--key", path("signer.key"),
            "--password-file", path("password")]


def verify(path, ca):
    done = run("osslsigncode", "verify", "-CAfile", ca, "-in", path)
    return done.returncode == 0 and "Maskora Test Signer" in done.stdout


def msi_table(msi, table):
    lines = run("msiinfo", "export", msi, table).stdout.splitlines()
    return [line.split("\t") for line in lines[3:]]


def exe_version(data):
    """The file version in the executable's version resource, and its texts by name."""
    body = next(b for kind, _, b in check_exe.Pe(data).resources() if kind == 16)
    (_, fixed, children), _ = check_exe.check_resources.version_tree(body)
    high, low = struct.unpack_from("<8xII", fixed)
    texts = {name: value for key, _, tables in children if key == "StringFileInfo"
             for _, _, strings in tables for name, value, _ in strings}
    return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}", texts


def source_date(build):
    """The time that package.py gives the packages: SOURCE_DATE_EPOCH or the release day."""
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    return calendar.timegm(time.strptime(build["release_date"], "%Y-%m-%d"))


def check_readme(kind, text, exe, build):
    """README.txt tells a Windows user what SRV contacts, as this build does it."""
    lines = text.split("\r\n")
    wide = re.search(rb"M\0a\0s\0k\0o\0r\0a\0/\0(?:[0-9.]\0)+", exe)
    agent = wide.group(0).decode("utf-16-le") if wide else None
    endpoint = build["srv_endpoint"]
    check(all(len(line) <= 78 for line in lines) and text.isascii(),
          f"{kind}: README.txt is plain ASCII in lines that fit Notepad")
    check(endpoint.encode() in exe, f"{kind}: Maskora.exe asks {endpoint} unless told otherwise")
    # A build without a default endpoint says so in the endpoint's place.
    for fact, what in ((f"\r\n    {endpoint or 'nothing:'}", "the service built in, on its own"),
                       (f'user agent "{agent}"', f"the user agent that Maskora.exe sends: {agent}"),
                       ('"Rnd=<number>"', "the random number in the request"),
                       ("variable MASKORA_SRV_ENDPOINT", "the environment variable"),
                       ("%APPDATA%\\Maskora\\maskora.ini", "the settings file"),
                       ("srv_endpoint = <value>", "the setting's key"),
                       ("         srv_endpoint =\r\n", "how to switch the request off")):
        check(agent is not None and fact in text, f"{kind}: README.txt names {what}")


def check_packages(folder, build, exe, signed, ca):
    kind = "signed" if signed else "unsigned"
    version = build["version"]
    base = f"Maskora-{version}-win64"
    names = sorted(os.listdir(folder))
    check(names == sorted([base + ".msi", base + ".zip", "SHA256SUMS"]),
          f"{kind}: the packages are named after version {version}: {names}")
    sums = run("sha256sum", "--check", "--strict", "SHA256SUMS", cwd=folder)
    check(sums.returncode == 0 and sums.stdout.count(": OK") == 2,
          f"{kind}: SHA256SUMS checks both packages: {' '.join(sums.stdout.split())}")

    stamp = source_date(build)
    with zipfile.ZipFile(os.path.join(folder, base + ".zip")) as z:
        content = {name: z.read(name) for name in z.namelist()}
        times = {m.date_time for m in z.infolist()}
    check(times == {time.gmtime(stamp)[:6]},
          f"{kind}: the zip's files carry the source date {time.gmtime(stamp)[:6]}: {times}")
    check(sorted(content) == ["LICENSE.txt", "Maskora.exe", "README.txt", "maskora.com"],
          f"{kind}: the zip holds Maskora.exe, maskora.com, LICENSE.txt and README.txt, at its "
          f"top: "
          f"{sorted(content)}")
    license = open(os.path.join(ROOT, "LICENSE"), "rb").read()
    for name in ("README.txt", "LICENSE.txt"):
        text = content.get(name, b"")
        check(text.count(b"\n") > 3 and text.count(b"\n") == text.count(b"\r\n"),
              f"{kind}: {name} has CRLF line ends")
    check(content.get("LICENSE.txt", b"").replace(b"\r\n", b"\n") == license,
          f"{kind}: LICENSE.txt is the licence")
    check(f"Maskora {version}".encode() in content.get("README.txt", b""),
          f"{kind}: README.txt names version {version}")
    packed = content.get("Maskora.exe", b"")
    check(len(packed) <= check_exe.MAX_SIZE,
          f"{kind}: Maskora.exe is {len(packed)} bytes, at most {check_exe.MAX_SIZE}")
    shown, texts = exe_version(packed) if packed else (None, {})
    check(shown == ".".join((version.split(".") + ["0"] * 4)[:4]),
          f"{kind}: Maskora.exe says it is version {version}: {shown}")
    check(texts.get("CompanyName") == PUBLISHER and
          texts.get("LegalCopyright", "").endswith(" " + PUBLISHER),
          f"{kind}: Maskora.exe names {PUBLISHER!r} as its company and copyright holder: "
          f"{texts.get('CompanyName')!r}, {texts.get('LegalCopyright')!r}")
    readme = content.get("README.txt", b"")
    check_readme(kind, readme.decode("latin-1"), packed, build)
    if not signed:
        check(packed == open(exe, "rb").read(), "unsigned: the zip's Maskora.exe is the build's")

    msi = os.path.join(folder, base + ".msi")
    properties = dict(row[:2] for row in msi_table(msi, "Property"))
    check(properties.get("ProductVersion") == version and
          properties.get("Manufacturer") == PUBLISHER and
          "ALLUSERS" not in properties,
          f"{kind}: the msi is version {version} by its publisher, for the current user only")
    summary = run("msiinfo", "suminfo", msi).stdout
    source = next((int(l.split()[1]) for l in summary.splitlines() if l.startswith("Source:")), 0)
    check(source & 8 != 0, f"{kind}: the msi asks for no administrator rights")
    # msiinfo shows the dates in local time, as ctime does.
    dates = [l for l in summary.splitlines() if l.startswith(("Created:", "Last saved:"))]
    check(dates == [f"Created: {time.ctime(stamp)}", f"Last saved: {time.ctime(stamp)}"],
          f"{kind}: the msi was created and saved at the source date: {dates}")
    with tempfile.TemporaryDirectory() as unpacked:
        run("msiextract", "-C", unpacked, msi)
        installed = {}
        for d, _, names in os.walk(unpacked):
            for name in names:
                with open(os.path.join(d, name), "rb") as f:
                    installed[os.path.relpath(f.name, unpacked)] = f.read()
        wanted = {"Programs/Maskora/" + n
                  for n in ("Maskora.exe", "maskora.com", "LICENSE.txt", "README.txt")}
        check(set(installed) == wanted, f"{kind}: the msi installs Maskora.exe, maskora.com, "
              f"LICENSE.txt and README.txt into the user's Programs\\Maskora: {sorted(installed)}")
        check(installed.get("Programs/Maskora/README.txt") == readme,
              f"{kind}: the msi's README.txt is the zip's")

    with tempfile.TemporaryDirectory() as scratch:
        inner = os.path.join(scratch, "Maskora.exe")
        with open(inner, "wb") as f:
            f.write(packed)
        for what, path in (("the zip's Maskora.exe", inner), ("the msi", msi)):
            check(verify(path, ca) == signed,
                  f"{kind}: {what} {'carries' if signed else 'lacks'} a valid signature")


class Wine:
    def __init__(self, wine):
        self.wine = wine
        self.prefix = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
        # No desktop entries on the host for the shortcut.
        overrides = [os.environ.get("WINEDLLOVERRIDES", ""), "winemenubuilder.exe=d"]
        self.env = dict(os.environ, WINEDEBUG="-all",
                        WINEDLLOVERRIDES=";".join(filter(None, overrides)))

    def __call__(self, *args):
        return subprocess.run([self.wine, *args], capture_output=True, text=True,
                              stdin=subprocess.DEVNULL, env=self.env, timeout=120)

    def start(self, *args):
        return subprocess.Popen([self.wine, *args], stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=self.env)

    def unix(self, path):
        """A C:\\ path as a path of the host; None for any other."""
        if path[:3].upper() != "C:\\":
            return None
        return os.path.join(self.prefix, "drive_c", *path[3:].split("\\"))

    def content(self, path):
        unix = self.unix(path)
        return open(unix, "rb").read() if unix and os.path.isfile(unix) else None

    def files(self):
        drive = os.path.join(self.prefix, "drive_c")
        return {os.path.relpath(os.path.join(folder, name), drive).lower()
                for folder, folders, names in os.walk(drive) for name in folders + names}

    def registry(self):
        """Every key and every value of the registry, one string each."""
        with tempfile.TemporaryDirectory() as scratch:
            out = os.path.join(scratch, "all.reg")
            self("regedit", "/E", "Z:" + out.replace("/", "\\"))
            text = open(out, "rb").read().decode("utf-16")
        entries, key = set(), ""
        for line in text.replace("\\\r\n  ", "").splitlines():
            if line.startswith("["):
                key = line[1:-1]
                entries.add(key)
            elif line:
                entries.add(key + "\t" + line)
        return {e for e in entries if not WINE_KEYS.match(e)}

    def keys(self, key):
        """{subkey: {value name: data}} under a key."""
        found, values = {}, {}
        for line in self("reg", "query", key, "/s").stdout.splitlines():
            if line.startswith("HKEY_"):
                values = found.setdefault(line.strip(), {})
            elif "REG_" in line:
                parts = line.split(None, 2)
                values[parts[0]] = parts[2] if len(parts) > 2 else ""
        return found

    def uninstall_entries(self):
        """The Apps & features entries named Maskora."""
        entries = {}
        for root in ("HKLM", "HKCU"):
            entries.update(self.keys(root + UNINSTALL))
        return {k: v for k, v in entries.items() if v.get("DisplayName") == "Maskora"}

    def uninstall_maskora(self):
        """Removes what an interrupted or failed run left installed."""
        for key in self.uninstall_entries():
            self("msiexec", "/x", key.rsplit("\\", 1)[-1], "/qn")


def read_shortcut(path):
    """Target, working folder, icon file and icon index of a .lnk file."""
    data = open(path, "rb").read()
    (flags,), (icon_index,) = struct.unpack_from("<I", data, 20), struct.unpack_from("<i", data, 56)
    # After the header: an item ID list, the link info with the local path of the target,
    # then the strings that the flags announce, each counted, in UTF-16 under flag 0x80.
    pos, target = 76, ""
    if flags & 0x1:
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    if flags & 0x2:
        size, _, info_flags, _, base = struct.unpack_from("<5I", data, pos)
        if info_flags & 1:
            target = data[pos + base : data.index(b"\0", pos + base)].decode("latin-1")
        pos += size
    strings = {}
    for bit, name in ((0x4, "name"), (0x8, "relative"), (0x10, "workdir"), (0x20, "args"),
                      (0x40, "icon")):
        if flags & bit:
            (count,) = struct.unpack_from("<H", data, pos)
            width = 2 if flags & 0x80 else 1
            raw = data[pos + 2 : pos + 2 + count * width]
            strings[name] = raw.decode("utf-16-le" if width == 2 else "latin-1").rstrip("\0")
            pos += 2 + count * width
    return target, strings.get("workdir", ""), strings.get("icon", ""), icon_index


def window_shows(wine, probe):
    done = wine(probe, "wait", str(TIMEOUT))
    caption = wine(probe, "read").stdout.splitlines()[:1]
    return done.returncode == 0 and caption[:1] != [] and caption[0].startswith("caption=Maskora")


def window_gone(wine, probe):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        if wine(probe, "read").returncode != 0:
            return True
        time.sleep(0.2)
    return False


def check_portable(wine, probe, zip_path, scratch):
    folder = os.path.join(scratch, "portable")
    with zipfile.ZipFile(zip_path) as z:
        z.extractall(folder)
    before = {n: os.stat(os.path.join(folder, n)).st_mtime_ns for n in os.listdir(folder)}
    program = wine.start(os.path.join(folder, "Maskora.exe"))
    try:
        check(window_shows(wine, probe), "the portable Maskora.exe shows its window")
        wine(probe, "close")
        check(program.wait(timeout=TIMEOUT) == 0, "the portable Maskora.exe ends when closed")
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
    after = {n: os.stat(os.path.join(folder, n)).st_mtime_ns for n in os.listdir(folder)}
    check(after == before, f"nothing written beside the portable Maskora.exe: {sorted(after)}")


def check_installed(wine, probe, program, version, ca):
    installed = wine.unix(program)
    check(verify(installed, ca), "the signed msi put its signed Maskora.exe in the place of the "
          "unsigned one's")
    check(os.path.isfile(os.path.join(os.path.dirname(installed), "LICENSE.txt")),
          "LICENSE.txt is installed beside it")

    entries = wine.uninstall_entries()
    check(len(entries) == 1, f"one Apps & features entry for Maskora: {len(entries)}")
    values = next(iter(entries.values()), {})
    check(values.get("DisplayVersion") == version and
          values.get("Publisher") == PUBLISHER,
          f"it shows version {version} and the publisher: {values.get('DisplayVersion')}, "
          f"{values.get('Publisher')}")
    icon = open(os.path.join(ROOT, "resources", "maskora.ico"), "rb").read()
    products = wine.keys("HKCU\\Software\\Microsoft\\Installer\\Products").values()
    icons = [p.get("ProductIcon", "") for p in products if p.get("ProductName") == "Maskora"]
    check(len(icons) == 1 and wine.content(icons[0]) == icon,
          f"the entry has Maskora's icon: {icons}")

    roaming = wine("cmd", "/c", "echo %APPDATA%").stdout.strip()
    shortcut = roaming + "\\Microsoft\\Windows\\Start Menu\\Programs\\Maskora.lnk"
    if not check(wine.content(shortcut) is not None, "a Maskora shortcut in the Start menu"):
        return
    target, folder, icon_file, index = read_shortcut(wine.unix(shortcut))
    check(target.lower() == program.lower() and
          folder.lower().rstrip("\\") == ntpath.dirname(program).lower(),
          f"it starts the installed Maskora.exe in its folder: {target}, in {folder}")
    check(index == 0 and wine.content(icon_file) == icon,
          f"it shows Maskora's icon: {icon_file}, {index}")
    check(wine.start("start", shortcut).wait(timeout=TIMEOUT) == 0 and window_shows(wine, probe),
          "Maskora started from the shortcut shows its window")
    wine(probe, "close")
    check(window_gone(wine, probe), "and closes")


def main():
    wine_program, build, version, probe = sys.argv[1:5]
    with open(os.path.join(build, "package-windows.json")) as f:
        built = json.load(f)
    exe = built["exe"]
    wine = Wine(wine_program)
    base = f"Maskora-{version}-win64"
    with tempfile.TemporaryDirectory() as scratch:
        signer = throwaway_signer(scratch)
        ca = os.path.join(scratch, "ca.pem")
        made = {}
        for kind, options in (("unsigned", []), ("signed", signer)):
            made[kind] = os.path.join(scratch, kind)
            subprocess.run([sys.executable, PACKAGE, build, "--out", made[kind], *options],
                           check=True)
            check_packages(made[kind], built, exe, kind == "signed", ca)
        # Later (the zip's times count in 2 s) and in another time zone: the same bytes.
        time.sleep(2)
        again = os.path.join(scratch, "again")
        subprocess.run([sys.executable, PACKAGE, build, "--out", again], check=True,
                       env=dict(os.environ, TZ="Asia/Kathmandu"))
        for name in (base + ".zip", base + ".msi", "SHA256SUMS"):
            first, second = (open(os.path.join(f, name), "rb").read()
                             for f in (made["unsigned"], again))
            check(first == second, f"made again, {name} has the same bytes")

        wine.uninstall_maskora()
        files, registry = wine.files(), wine.registry()
        check(wine(probe, "read").returncode != 0, "no Maskora window before the start")
        check_portable(wine, probe, os.path.join(made["signed"], base + ".zip"), scratch)
        local = wine("cmd", "/c", "echo %LOCALAPPDATA%").stdout.strip()
        program = local + "\\Programs\\Maskora\\Maskora.exe"
        try:
            for kind in ("unsigned", "signed"):
                msi = "Z:" + os.path.join(made[kind], base + ".msi").replace("/", "\\")
                done = wine("msiexec", "/i", msi, "/qn")
                check(done.returncode == 0, f"msiexec /i installs the {kind} msi: "
                      f"{done.returncode}")
                if kind == "unsigned":
                    check(wine.content(program) == open(exe, "rb").read(),
                          f"Maskora.exe is installed in {ntpath.dirname(program)}")
            check_installed(wine, probe, program, version, ca)
            done = wine("msiexec", "/x", msi, "/qn")
            check(done.returncode == 0, f"msiexec /x uninstalls: {done.returncode}")
        finally:
            wine(probe, "close")
            wine.uninstall_maskora()
        left = {f for f in wine.files() - files if not INSTALLER_FOLDERS.fullmatch(f)}
        check(not left, f"no file left behind: {sorted(left)}")
        changed = {e for e in wine.registry() ^ registry if not INSTALLER_KEYS.fullmatch(e)}
        check(not changed, f"the registry is as before: {sorted(changed)[:20]}")
    print("ok" if not failures else f"{len(failures)} problem(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
