#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks the built Maskora.exe as a user receives it.

  check_exe.py RESOURCE_DIR MASKORA_EXE

The resources inside the executable (icon group 1 and the version resource) carry what
the resource checker expects of the compiled resource script; its application manifest asks
for the common controls 6, DPI awareness per monitor (system-aware where that is unknown),
the rights of the user who starts it, and names Windows 7 to 11; the executable imports
only DLLs of Windows itself, so no runtime DLL has to travel with it, and not the network
DLLs, which it loads from the system folder itself; and it stays small.
"""

import os
import struct
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources"))
import check_resources  # noqa: E402

MAX_SIZE = 1536 * 1024
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "wsock32.dll",
               "ws2_32.dll", "winhttp.dll", "msvcrt.dll", "advapi32.dll", "shell32.dll",
               "ole32.dll", "crypt32.dll"}
# Found beside the program first when imported at start-up: loaded from the system folder only.
LOADED_LATER = {"winhttp.dll", "wsock32.dll", "ws2_32.dll"}


class Pe:
    def __init__(self, data):
        self.data = data
        (pe,) = struct.unpack_from("<I", data, 0x3C)
        assert data[pe : pe + 4] == b"PE\0\0", "not a PE file"
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        (magic,) = struct.unpack_from("<H", data, optional)
        directories = optional + (96 if magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]

    def offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"RVA {rva:#x} is in no section")

    def resources(self):
        """(type, name, payload) for each resource, as check_resources reads a .res file."""
        rva, size = self.directories[2]
        if size == 0:
            return []
        base = self.offset(rva)
        data, entries = self.data, []

        def ident(value):
            if value & 0x80000000:
                pos = base + (value & 0x7FFFFFFF)
                (length,) = struct.unpack_from("<H", data, pos)
                return data[pos + 2 : pos + 2 + 2 * length].decode("utf-16-le")
            return value

        def walk(pos, path):
            named, numbered = struct.unpack_from("<12xHH", data, pos)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", data, pos + 16 + 8 * i)
                if target & 0x80000000:
                    walk(base + (target & 0x7FFFFFFF), path + [ident(name)])
                else:
                    rva, size = struct.unpack_from("<II", data, base + target)
                    start = self.offset(rva)
                    entries.append((path[0], path[1], data[start : start + size]))

        walk(base, [])
        return entries

    def imported_dlls(self):
        rva, _ = self.directories[1]
        pos, names = self.offset(rva), []
        while True:
            name_rva = struct.unpack_from("<12xI", self.data, pos)[0]
            if name_rva == 0:
                return names
            start = self.offset(name_rva)
            names.append(self.data[start : self.data.index(b"\0", start)].decode().lower())
            pos += 20


SUPPORTED_OS = {  # Windows 7, 8, 8.1, and 10 and 11
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
}


def check_manifest(pe):
    expect = check_resources.expect
    manifests = [body for kind, name, body in pe.resources() if kind == 24 and name == 1]
    if not expect(len(manifests) == 1, "no application manifest (resource 24, 1)"):
        return
    root = ET.fromstring(manifests[0])
    found = {element.tag.split("}")[-1]: element for element in root.iter()}

    def all_of(tag):
        return [e for e in root.iter() if e.tag.split("}")[-1] == tag]

    controls = [e.attrib for e in all_of("assemblyIdentity")
                if e.attrib.get("name") == "Microsoft.Windows.Common-Controls"]
    own = [e.attrib for e in all_of("assemblyIdentity") if e.attrib.get("name") == "Maskora"]
    expect(own and own[0].get("version") == os.environ["MASKORA_VERSION"],
           "the manifest's assembly version is not the build's")
    expect(controls and controls[0].get("version") == "6.0.0.0"
           and controls[0].get("publicKeyToken") == "6595b64144ccf1df",
           "the manifest does not ask for the common controls 6")
    level = found.get("requestedExecutionLevel")
    expect(level is not None and level.attrib.get("level") == "asInvoker",
           "the manifest does not run as the invoker")
    expect({e.attrib.get("Id") for e in all_of("supportedOS")} == SUPPORTED_OS,
           "the manifest does not name Windows 7 to 11")
    awareness = [v.strip() for v in (found["dpiAwareness"].text if "dpiAwareness" in found
                                     else "").split(",")]
    expect(awareness[:1] == ["PerMonitorV2"], f"DPI awareness is {awareness}, not PerMonitorV2")
    aware = found.get("dpiAware")
    expect(aware is not None and aware.text.strip().lower() == "true",
           "no system-aware fallback (dpiAware true)")


def main():
    folder, exe = sys.argv[1], sys.argv[2]
    data = open(exe, "rb").read()
    pe = Pe(data)
    check_resources.res_entries = lambda _: pe.resources()
    check_resources.check_res(folder, exe)
    check_manifest(pe)
    foreign = sorted(set(pe.imported_dlls()) - SYSTEM_DLLS)
    check_resources.expect(not foreign, f"imports DLLs that don't come with Windows: {foreign}")
    early = sorted(set(pe.imported_dlls()) & LOADED_LATER)
    check_resources.expect(not early, f"imports network DLLs at start-up: {early}")
    check_resources.expect(len(data) <= MAX_SIZE,
                           f"{os.path.basename(exe)} is {len(data)} bytes, over {MAX_SIZE}")
    for failure in check_resources.failures:
        print("FAIL:", failure)
    print("ok" if not check_resources.failures else f"{len(check_resources.failures)} problem(s)")
    return 1 if check_resources.failures else 0


if __name__ == "__main__":
    sys.exit(main())
