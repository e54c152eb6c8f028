#!/usr/bin/env python3
"""Checks the built Maskora.exe as a user receives it.

  check_exe.py RESOURCE_DIR MASKORA_EXE

The resources inside the executable (icon group 1 and the version resource) carry what
the resource checker expects of the compiled resource script; the executable imports
only DLLs of Windows itself, so no runtime DLL has to travel with it, and not the network
DLLs, which it loads from the system folder itself; and it stays small.
"""

import os
import struct
import sys

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


def main():
    folder, exe = sys.argv[1], sys.argv[2]
    data = open(exe, "rb").read()
    pe = Pe(data)
    check_resources.res_entries = lambda _: pe.resources()
    check_resources.check_res(folder, exe)
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
