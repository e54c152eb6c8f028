#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes the Windows downloads from a win64 build.

  package.py BUILD_DIR [--out DIR] [--cert CERTS.pem --key KEY.pem [--password-file FILE]
                                     [--timestamp URL]]

Writes into DIR (default BUILD_DIR/packages):
  Maskora-<version>-win64.zip  Maskora.exe, LICENSE.txt and README.txt: the portable program
  Maskora-<version>-win64.msi  a per-user Windows Installer package, made with wixl
  SHA256SUMS                   for both, as sha256sum -c reads them
The version and the executable come from the build (package-windows.json, written by CMake).
With a certificate and its key, Maskora.exe is signed (Authenticode, osslsigncode) before it
goes into either package, and so is the msi; without them, both stay unsigned.
"""

import argparse
import glob
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
HOMEPAGE = "https://github.com/maskora/maskora"


def run(command, **kwargs):
    done = subprocess.run(command, capture_output=True, text=True, **kwargs)
    if done.returncode != 0:
        sys.exit(f"package.py: {command[0]} failed:\n{done.stdout}{done.stderr}")
    return done.stdout


def write_crlf(text, path):
    with open(path, "w", newline="\r\n") as out:
        out.write(text.replace("\r\n", "\n"))


def sign(path, args):
    command = ["osslsigncode", "sign", "-certs", args.cert, "-key", args.key, "-h", "sha256",
               "-n", "Maskora", "-i", HOMEPAGE]
    if args.password_file:
        command += ["-readpass", args.password_file]
    if args.timestamp:
        command += ["-ts", args.timestamp]
    run(command + ["-in", path, "-out", path + ".signed"])
    os.replace(path + ".signed", path)


def check_version(version):
    # Windows Installer reads at most major.minor.build, each within its own range.
    fields = [int(f) for f in version.split(".")]
    limits = [255, 255, 65535]
    if len(fields) < 2 or any(f > limit for f, limit in zip(fields, limits)):
        sys.exit(f"package.py: {version} is no version that Windows Installer accepts")


def widen_upgrade(msi):
    """Lets a build of the same major.minor.build replace the installed one.

    Windows Installer ignores a fourth version field, so without the inclusive maximum two
    releases that differ only there would install side by side. wixl writes the upgrade
    row with an exclusive maximum; it becomes inclusive here (0x200, plus 1 that keeps the
    features' states). The row is part of the table's key, so it is replaced, not updated.
    """
    rows = [line.split("\t") for line in run(["msiinfo", "export", msi, "Upgrade"]).splitlines()]
    upgrade = [r for r in rows[3:] if r[-1] == "WIX_UPGRADE_DETECTED"]
    if len(upgrade) != 1:
        sys.exit("package.py: the msi has no upgrade row to widen")
    code, _, maximum = upgrade[0][:3]
    run(["msibuild", msi, "-q",
         "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'WIX_UPGRADE_DETECTED'"])
    run(["msibuild", msi, "-q",
         "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMax`, `Attributes`, `ActionProperty`) "
         f"VALUES ('{code}', '{maximum}', 513, 'WIX_UPGRADE_DETECTED')"])


def main():
    parser = argparse.ArgumentParser(description="Makes the Windows zip, msi and SHA256SUMS.")
    parser.add_argument("build", help="the win64 build folder")
    parser.add_argument("--out", help="where the packages go (default BUILD/packages)")
    parser.add_argument("--cert", help="signing certificate, PEM, followed by its chain")
    parser.add_argument("--key", help="the certificate's private key, PEM")
    parser.add_argument("--password-file", help="file holding the key's password")
    parser.add_argument("--timestamp", help="RFC 3161 time-stamping server for the signatures")
    args = parser.parse_args()
    if bool(args.cert) != bool(args.key):
        parser.error("--cert and --key go together")
    if (args.password_file or args.timestamp) and not args.cert:
        parser.error("--password-file and --timestamp need --cert and --key")

    with open(os.path.join(args.build, "package-windows.json")) as f:
        build = json.load(f)
    version = build["version"]
    check_version(version)
    out = args.out or os.path.join(args.build, "packages")
    os.makedirs(out, exist_ok=True)
    # The packages of an earlier version would be listed beside the new ones.
    for pattern in ("Maskora-*-win64.*", "SHA256SUMS"):
        for old in glob.glob(os.path.join(out, pattern)):
            os.remove(old)
    base = f"Maskora-{version}-win64"

    with tempfile.TemporaryDirectory() as stage:
        exe = os.path.join(stage, "Maskora.exe")
        shutil.copyfile(build["exe"], exe)
        if args.cert:
            sign(exe, args)
        with open(os.path.join(ROOT, "LICENSE")) as f:
            write_crlf(f.read(), os.path.join(stage, "LICENSE.txt"))
        with open(os.path.join(HERE, "README.txt")) as f:
            write_crlf(f.read().replace("@VERSION@", version), os.path.join(stage, "README.txt"))

        with zipfile.ZipFile(os.path.join(out, base + ".zip"), "w", zipfile.ZIP_DEFLATED,
                             compresslevel=9) as z:
            for name in ("Maskora.exe", "LICENSE.txt", "README.txt"):
                z.write(os.path.join(stage, name), name)

        # wixl takes the files by names relative to the .wxs.
        shutil.copyfile(os.path.join(HERE, "Maskora.wxs"), os.path.join(stage, "Maskora.wxs"))
        shutil.copyfile(os.path.join(ROOT, "resources", "maskora.ico"),
                        os.path.join(stage, "maskora.ico"))
        msi = os.path.join(stage, base + ".msi")
        run(["wixl", "-a", "x64", "-D", f"Version={version}", "-o", msi, "Maskora.wxs"], cwd=stage)
        widen_upgrade(msi)
        if args.cert:
            sign(msi, args)
        shutil.copyfile(msi, os.path.join(out, base + ".msi"))

    with open(os.path.join(out, "SHA256SUMS"), "w") as sums:
        for name in (base + ".msi", base + ".zip"):
            with open(os.path.join(out, name), "rb") as f:
                sums.write(f"{hashlib.sha256(f.read()).hexdigest()}  {name}\n")
    print(f"{out}: {base}.zip, {base}.msi, SHA256SUMS" + (" (signed)" if args.cert else ""))


if __name__ == "__main__":
    main()
