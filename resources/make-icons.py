#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes maskora-16.png, maskora-32.png and maskora.ico from the pixel art below.

Usage: make-icons.py [OUTPUT_DIR]   (default: this script's directory)

The motif: three blue octets (the network part) and a white one (the host part),
separated by dots, above a mask bar whose set bits cover the first three octets.
Only the 16 colours of the classic VGA palette are used, so the icon stays crisp
at its native sizes and the .ico can hold true 4-bit images.
"""

import os
import struct
import sys
import zlib

# The classic 16-colour palette, in its usual index order, with the letter used in the art.
PALETTE = [
    ("K", (0x00, 0x00, 0x00)),  # black
    ("R", (0x80, 0x00, 0x00)),  # maroon
    ("G", (0x00, 0x80, 0x00)),  # green
    ("O", (0x80, 0x80, 0x00)),  # olive
    ("N", (0x00, 0x00, 0x80)),  # navy
    ("P", (0x80, 0x00, 0x80)),  # purple
    ("T", (0x00, 0x80, 0x80)),  # teal
    ("S", (0xC0, 0xC0, 0xC0)),  # silver
    ("D", (0x80, 0x80, 0x80)),  # dark grey
    ("r", (0xFF, 0x00, 0x00)),  # red
    ("g", (0x00, 0xFF, 0x00)),  # lime
    ("y", (0xFF, 0xFF, 0x00)),  # yellow
    ("b", (0x00, 0x00, 0xFF)),  # blue
    ("m", (0xFF, 0x00, 0xFF)),  # fuchsia
    ("c", (0x00, 0xFF, 0xFF)),  # aqua
    ("W", (0xFF, 0xFF, 0xFF)),  # white
]
TRANSPARENT = "."
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}

ART_16 = """
................
.cbN.cbN.cbN.SWD
.bbN.bbN.bbN.SWD
.bbN.bbN.bbN.SWD
.bbN.bbN.bbN.SWD
.bbN.bbN.bbN.SWD
.bbN.bbN.bbN.SWD
.bbN.bbN.bbN.SWD
.NNNKNNNKNNNKDDD
................
KKKKKKKKKKKKKKKK
KggGKggGKggGKWWK
KgGGKgGGKgGGKWSK
KGGGKGGGKGGGKSSK
KKKKKKKKKKKKKKKK
................
"""

ART_32 = """
................................
................................
................................
.NNNNNN..NNNNNN..NNNNNN..DDDDDD.
.NccccN..NccccN..NccccN..DWWWWD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbN..NcbbbN..NcbbbN..DWWWSD.
.NcbbbNKKNcbbbNKKNcbbbNKKDWWWSD.
.NNNNNNKKNNNNNNKKNNNNNNKKDDDDDD.
................................
................................
................................
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KgggggGKKgggggGKKgggggGKKWWWWWWK
KgGGGGGKKgGGGGGKKgGGGGGKKWWWWWSK
KgGGGGGKKgGGGGGKKgGGGGGKKWWWWWSK
KgGGGGGKKgGGGGGKKgGGGGGKKWWWWWSK
KgGGGGGKKgGGGGGKKgGGGGGKKWWWWWSK
KgGGGGGKKgGGGGGKKgGGGGGKKSSSSSSK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
................................
................................
................................
................................
"""


def parse(art, size):
    rows = art.strip("\n").split("\n")
    assert len(rows) == size and all(len(r) == size for r in rows), "art must be square"
    return [[None if ch == TRANSPARENT else INDEX[ch] for ch in row] for row in rows]


def png(pixels):
    """An 8-bit indexed PNG: the 16 palette colours plus one fully transparent entry."""
    size = len(pixels)
    clear = len(PALETTE)
    raw = b"".join(
        b"\0" + bytes(clear if p is None else p for p in row) for row in pixels
    )

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    plte = b"".join(bytes(rgb) for _, rgb in PALETTE) + b"\0\0\0"
    trns = b"\xff" * len(PALETTE) + b"\0"
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0))
        + chunk(b"PLTE", plte)
        + chunk(b"tRNS", trns)
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )


def dib(pixels):
    """A 4-bit icon image: header, palette, colour rows and AND mask, both bottom-up."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for _, (r, g, b) in PALETTE)
    colour = b""
    mask = b""
    for row in reversed(pixels):
        line = [0 if p is None else p for p in row]
        packed = bytes((line[i] << 4) | line[i + 1] for i in range(0, size, 2))
        colour += packed + b"\0" * (-len(packed) % 4)
        bits = 0
        for p in row:
            bits = (bits << 1) | (p is None)
        packed = bits.to_bytes(size // 8, "big")
        mask += packed + b"\0" * (-len(packed) % 4)
    return header + palette + colour + mask


def ico(images):
    """An icon file holding the given images, smallest first."""
    offset = 6 + 16 * len(images)
    entries = b""
    data = b""
    for pixels in images:
        size = len(pixels)
        body = dib(pixels)
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
        data += body
    return struct.pack("<HHH", 0, 1, len(images)) + entries + data


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    small, large = parse(ART_16, 16), parse(ART_32, 32)
    outputs = {
        "maskora-16.png": png(small),
        "maskora-32.png": png(large),
        "maskora.ico": ico([small, large]),
    }
    for name, content in outputs.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(content)


if __name__ == "__main__":
    main()
