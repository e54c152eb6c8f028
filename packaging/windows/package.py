#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes the Windows downloads from a win64 build.

  package.py BUILD_DIR [--out DIR] [--cert CERTS.pem --key KEY.pem [--password-file FILE]
                                     [--timestamp URL]]

Writes into DIR (default BUILD_DIR/packages):
  Maskora-<version>-win64.zip  Maskora.exe, maskora.com, LICENSE.txt and README.txt: the
                               portable program
  Maskora-<version>-win64.msi  a per-user Windows Installer package, made with wixl
  SHA256SUMS                   for both, as sha256sum -c reads them
The version and the programs come from the build (package-windows.json, written by CMake).
With a certificate and its key, Maskora.exe and maskora.com are signed (Authenticode,
osslsigncode) before they go into either package, and so is the msi; without them, all stay
unsigned.

Unsigned, two runs on the same build give the same bytes: every time stamp in the zip and
the msi is SOURCE_DATE_EPOCH, or else midnight (UTC) of the build's release date, and the
msi's product and package codes are derived from what it holds. Signed packages differ from
run to run: a signature carries the time of signing.
"""

import argparse
import calendar
import glob
import hashlib
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import uuid
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
HOMEPAGE = "https://github.com/maskora/maskora"
# The name space of the msi's derived product and package codes.
CODES = uuid.uuid5(uuid.NAMESPACE_URL, HOMEPAGE)
# What wixl packs, by the names that the .wxs gives them.
MSI_SOURCES = ("Maskora.wxs", "Maskora.exe", "maskora.com", "LICENSE.txt", "README.txt",
               "maskora.ico")
# The programs, by their names in the packages and their keys in package-windows.json.
PROGRAMS = (("Maskora.exe", "exe"), ("maskora.com", "console"))


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


def source_date(build):
    """The time that the packages' members and dates carry, in seconds since 1970."""
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    return calendar.timegm(time.strptime(build["release_date"], "%Y-%m-%d"))


def readme(build, version):
    """README.txt with the facts of this build filled in."""
    with open(os.path.join(HERE, "README.txt")) as f:
        text = f.read()
    major_minor = ".".join(version.split(".")[:2])
    endpoint = build["srv_endpoint"] or "nothing: this copy is built with the request switched off"
    for field, value in (("@VERSION@", version), ("@USER_AGENT@", "Maskora/" + major_minor),
                         ("@SRV_ENDPOINT@", endpoint)):
        text = text.replace(field, value)
    return text


def write_zip(path, stage, names, stamp):
    """A zip whose members carry the given time and fixed attributes, whenever it is made."""
    # A zip's times are calendar fields without a zone, from 1980 on.
    when = time.gmtime(max(stamp, 315532800))[:6]
    with zipfile.ZipFile(path, "w") as z:
        for name in names:
            member = zipfile.ZipInfo(name, when)
            member.create_system = 3
            member.external_attr = 0o100644 << 16
            member.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(stage, name), "rb") as f:
                z.writestr(member, f.read(), compresslevel=9)


def msi_codes(stage, version):
    """Product and package code: the same for the same contents, new for any other."""
    digest = hashlib.sha256(version.encode())
    for name in MSI_SOURCES:
        with open(os.path.join(stage, name), "rb") as f:
            data = f.read()
        digest.update(f"{name}\0{len(data)}\0".encode() + data)
    return (uuid.uuid5(CODES, "product " + digest.hexdigest()),
            uuid.uuid5(CODES, "package " + digest.hexdigest()))


def stream_places(data, name):
    """Where each byte of a stream of a compound file (the msi's container) lies in the file."""
    sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
    mini = 1 << struct.unpack_from("<H", data, 0x20)[0]
    fats, directory, cutoff, minifat_start, _, _, difats = struct.unpack_from("<II4x5I", data, 0x2C)
    if difats:
        sys.exit("package.py: the msi is larger than its summary can be rewritten in")

    def at(n):
        return (n + 1) * sector

    fat = []
    for n in struct.unpack_from(f"<{fats}I", data, 0x4C):
        fat += struct.unpack_from(f"<{sector // 4}I", data, at(n))

    def chain(n, table):
        for _ in table:  # A chain visits each entry at most once.
            if n >= 0xFFFFFFFA:
                return
            yield n
            n = table[n]

    def content(n):
        return b"".join(data[at(s) : at(s) + sector] for s in chain(n, fat))

    entries = content(directory)
    minis = content(minifat_start)
    minifat = struct.unpack(f"<{len(minis) // 4}I", minis)
    # The small streams lie in the root entry's stream, in sectors of their own size.
    mini_sectors = [at(s) + i for s in chain(struct.unpack_from("<I", entries, 116)[0], fat)
                    for i in range(0, sector, mini)]
    for entry in range(0, len(entries), 128):
        length = struct.unpack_from("<H", entries, entry + 64)[0]
        if entries[entry : entry + max(length - 2, 0)].decode("utf-16-le") != name:
            continue
        start, size = struct.unpack_from("<II", entries, entry + 116)
        if size < cutoff:
            places = [mini_sectors[n] + i for n in chain(start, minifat) for i in range(mini)]
        else:
            places = [at(n) + i for n in chain(start, fat) for i in range(sector)]
        return places[:size]
    sys.exit(f"package.py: the msi has no stream {name!r}")


def settle_summary(msi, stamp, package_code):
    """Gives the msi's summary the source date and the package code.

    wixl writes the time of the run as the dates created and last saved, and a random package
    code (the revision number), which its source cannot set.
    """
    with open(msi, "rb") as f:
        data = bytearray(f.read())
    places = stream_places(data, "\x05SummaryInformation")
    summary = bytearray(data[p] for p in places)
    # A property set: one section, found at its offset after the header; in it, the count of
    # properties and the offset of each, then each property's type and value.
    (section,) = struct.unpack_from("<I", summary, 44)
    (count,) = struct.unpack_from("<I", summary, section + 4)
    filetime = (stamp + 11644473600) * 10_000_000  # 100 ns since 1601
    code = f"{{{str(package_code).upper()}}}".encode() + b"\0"
    settled = set()
    for i in range(count):
        key, offset = struct.unpack_from("<II", summary, section + 8 + 8 * i)
        value = section + offset
        (kind,) = struct.unpack_from("<I", summary, value)
        if key in (12, 13) and kind == 64:  # created, last saved: FILETIME
            struct.pack_into("<Q", summary, value + 4, filetime)
            settled.add(key)
        elif key == 9 and kind == 30:  # revision number: a string, its length counting its end
            if struct.unpack_from("<I", summary, value + 4)[0] == len(code):
                summary[value + 8 : value + 8 + len(code)] = code
                settled.add(key)
    if settled != {9, 12, 13}:
        sys.exit("package.py: the msi's summary lacks its dates or package code")
    for place, byte in zip(places, summary):
        data[place] = byte
    with open(msi, "wb") as f:
        f.write(data)


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

    stamp = source_date(build)
    with tempfile.TemporaryDirectory() as stage:
        for name, key in PROGRAMS:
            program = os.path.join(stage, name)
            shutil.copyfile(build[key], program)
            if args.cert:
                sign(program, args)
        with open(os.path.join(ROOT, "LICENSE")) as f:
            write_crlf(f.read(), os.path.join(stage, "LICENSE.txt"))
        write_crlf(readme(build, version), os.path.join(stage, "README.txt"))
        write_zip(os.path.join(out, base + ".zip"), stage,
                  ("Maskora.exe", "maskora.com", "LICENSE.txt", "README.txt"), stamp)

        # wixl takes the files by names relative to the .wxs, and their times for the cabinet.
        shutil.copyfile(os.path.join(HERE, "Maskora.wxs"), os.path.join(stage, "Maskora.wxs"))
        shutil.copyfile(os.path.join(ROOT, "resources", "maskora.ico"),
                        os.path.join(stage, "maskora.ico"))
        for name in MSI_SOURCES:
            os.utime(os.path.join(stage, name), (stamp, stamp))
        product, package = msi_codes(stage, version)
        msi = os.path.join(stage, base + ".msi")
        run(["wixl", "-a", "x64", "-D", f"Version={version}", "-D", f"ProductCode={product}",
             "-D", f"Publisher={build['publisher']}", "-o", msi, "Maskora.wxs"], cwd=stage)
        widen_upgrade(msi)
        settle_summary(msi, stamp, package)
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
