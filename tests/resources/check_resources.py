#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Checks the generated icons and the compiled Windows resource.

  check_resources.py icons RESOURCE_DIR
      The PNGs are 16x16 and 32x32, opaque pixels use only the 16 VGA colours, the
      .ico holds exactly those two images as 4-bit pictures, and make-icons.py still
      produces the committed files byte for byte.
  check_resources.py res RESOURCE_DIR OUTPUT.res -- COMPILER ARGS...
      Runs the resource compiler, then reads the .res it wrote: icon group 1 holds the
      images of maskora.ico and the version resource carries the release's numbers.
"""

import os
import struct
import subprocess
import sys
import tempfile
import zlib

VGA = {
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
}
failures = []


def expect(ok, what):
    if not ok:
        failures.append(what)
    return ok


def read_png(data):
    """Pixels as rows of (r, g, b, a); 8-bit indexed, RGB or RGBA images."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, palette, alpha = 8, b"", [], b""
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos : pos + 4])
        kind, body = data[pos + 4 : pos + 8], data[pos + 8 : pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i : i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"tRNS":
            alpha = body
        elif kind == b"IDAT":
            idat += body
    assert depth == 8 and interlace == 0 and ctype in (2, 3, 6), "unsupported PNG layout"
    channels = {2: 3, 3: 1, 6: 4}[ctype]
    raw, stride, prev, rows = zlib.decompress(idat), width * channels, None, []
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1 : start + 1 + stride])
        prev = prev or bytearray(stride)
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b, c = prev[i], prev[i - channels] if i >= channels else 0
            p = a + b - c
            paeth = a if abs(p - a) <= min(abs(p - b), abs(p - c)) else b if abs(p - b) <= abs(p - c) else c
            pred = [0, a, b, (a + b) // 2, paeth][kind]
            line[i] = (line[i] + pred) & 0xFF
        prev = line
        if ctype == 3:
            rows.append([palette[i] + ((alpha[i] if i < len(alpha) else 255),) for i in line])
        else:
            px = [tuple(line[i : i + channels]) for i in range(0, stride, channels)]
            rows.append([p if channels == 4 else p + (255,) for p in px])
    return rows


def read_dib(data):
    """Pixels of a 4-bit icon image, transparent where the AND mask is set."""
    size, width, height2, _, bits = struct.unpack("<IiiHH", data[:16])
    assert bits == 4, f"icon image has {bits} bits per pixel, not 4"
    palette = [tuple(data[size + 4 * i : size + 4 * i + 3][::-1]) for i in range(16)]
    height, pos = height2 // 2, size + 64
    colour_stride, mask_stride = (width // 2 + 3) // 4 * 4, (width // 8 + 3) // 4 * 4
    mask_pos = pos + colour_stride * height
    rows = []
    for y in range(height):
        line = data[pos + colour_stride * y :]
        mask = data[mask_pos + mask_stride * y :]
        row = []
        for x in range(width):
            index = (line[x // 2] >> (0 if x % 2 else 4)) & 0xF
            clear = (mask[x // 8] >> (7 - x % 8)) & 1
            row.append((0, 0, 0, 0) if clear else palette[index] + (255,))
        rows.append(row)
    return rows[::-1]


def ico_images(data):
    _, kind, count = struct.unpack("<HHH", data[:6])
    assert kind == 1, "not an icon file"
    images = []
    for i in range(count):
        entry = data[6 + 16 * i : 22 + 16 * i]
        w, h, _, _, _, _, length, offset = struct.unpack("<BBBBHHII", entry)
        images.append((w or 256, h or 256, data[offset : offset + length]))
    return images


def decode(image):
    return read_png(image) if image[:4] == b"\x89PNG" else read_dib(image)


def check_icons(folder):
    pngs = {}
    for size in (16, 32):
        pixels = read_png(open(os.path.join(folder, f"maskora-{size}.png"), "rb").read())
        pngs[size] = pixels
        square = len(pixels) == size and all(len(r) == size for r in pixels)
        expect(square, f"maskora-{size}.png is not {size}x{size}")
        odd = {p for row in pixels for p in row if p[3] != 0 and (p[3] != 255 or p[:3] not in VGA)}
        expect(not odd, f"maskora-{size}.png has colours outside the VGA palette: {sorted(odd)[:5]}")
        expect(any(p[3] for row in pixels for p in row), f"maskora-{size}.png is empty")

    images = ico_images(open(os.path.join(folder, "maskora.ico"), "rb").read())
    sizes = sorted((w, h) for w, h, _ in images)
    expect(sizes == [(16, 16), (32, 32)], f"maskora.ico holds {sizes}, not 16x16 and 32x32")
    for w, _, image in images:
        if w in pngs:
            expect(decode(image) == pngs[w], f"the {w}px image of maskora.ico differs from the PNG")

    with tempfile.TemporaryDirectory() as fresh:
        subprocess.run([sys.executable, os.path.join(folder, "make-icons.py"), fresh], check=True)
        for name in sorted(os.listdir(fresh)):
            made, kept = (open(os.path.join(d, name), "rb").read() for d in (fresh, folder))
            # Compare PNGs by pixels: another zlib may compress the same image differently.
            same = read_png(made) == read_png(kept) if name.endswith(".png") else made == kept
            expect(same, f"{name} is stale: rerun make-icons.py")


def res_entries(data):
    """(type, name, payload) for each entry of a compiled .res file."""
    def ident(pos):
        if data[pos : pos + 2] == b"\xff\xff":
            return struct.unpack("<H", data[pos + 2 : pos + 4])[0], pos + 4
        end = pos
        while data[end : end + 2] != b"\0\0":
            end += 2
        return data[pos:end].decode("utf-16-le"), end + 2

    pos, entries = 0, []
    while pos + 8 <= len(data):
        size, header = struct.unpack("<II", data[pos : pos + 8])
        kind, after = ident(pos + 8)
        name, _ = ident(after)
        entries.append((kind, name, data[pos + header : pos + header + size]))
        pos += (header + size + 3) // 4 * 4
    return entries


def version_tree(data, pos=0):
    """One node of a version resource as (key, value, children)."""
    length, value_length, text = struct.unpack("<HHH", data[pos : pos + 6])
    end, key_end = pos + length, pos + 6
    while data[key_end : key_end + 2] != b"\0\0":
        key_end += 2
    key = data[pos + 6 : key_end].decode("utf-16-le")
    value_pos = (key_end + 2 + 3) // 4 * 4
    value_size = value_length * 2 if text else value_length
    value = data[value_pos : value_pos + value_size]
    if text:
        value = value.decode("utf-16-le").split("\0")[0]
    child, children = (value_pos + value_size + 3) // 4 * 4, []
    while child + 6 <= end:
        node, child_end = version_tree(data, child)
        children.append(node)
        child = (child_end + 3) // 4 * 4
    return (key, value, children), end


def check_res(folder, res_path):
    entries = res_entries(open(res_path, "rb").read())
    icons = {name: body for kind, name, body in entries if kind == 3}
    groups = [body for kind, name, body in entries if kind == 14 and name == 1]
    if expect(len(groups) == 1, "no icon group 1"):
        group = groups[0]
        count = struct.unpack("<H", group[4:6])[0]
        members = [struct.unpack("<BBBBHHIH", group[6 + 14 * i : 20 + 14 * i]) for i in range(count)]
        ico = open(os.path.join(folder, "maskora.ico"), "rb").read()
        expected = {w: image for w, _, image in ico_images(ico)}
        actual = {m[0]: icons.get(m[7]) for m in members}
        expect(actual == expected, "icon group 1 does not hold the images of maskora.ico")

    versions = [body for kind, name, body in entries if kind == 16 and name == 1]
    if not expect(len(versions) == 1, "no version resource 1"):
        return
    (key, fixed, children), _ = version_tree(versions[0])
    expect(key == "VS_VERSION_INFO", "version resource has the wrong key")
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack("<6I", fixed[:24])
    expect(signature == 0xFEEF04BD, "fixed file info missing")
    # The project's version, as CMake hands it to the test: 1.0.0.2 is 1,0,0,2 in the fixed
    # part and "1.00.0002" in the texts.
    version = os.environ["MASKORA_VERSION"]
    major, minor, patch, tweak = (int(n) for n in (version.split(".") + ["0"] * 4)[:4])
    numbers = (file_ms, file_ls, product_ms, product_ls)
    wanted_numbers = ((major << 16) | minor, (patch << 16) | tweak) * 2
    expect(numbers == wanted_numbers, f"fixed version is not {version}")
    text = f"{major}.{minor:02d}.{tweak:04d}"
    blocks = {k: c for k, _, c in children}
    tables = {k: {sk: sv for sk, sv, _ in c} for k, _, c in blocks.get("StringFileInfo", [])}
    expect(list(tables) == ["040904B0"], f"string tables are {list(tables)}, not 040904B0 alone")
    strings = tables.get("040904B0", {})
    wanted = {
        "FileVersion": text,
        "ProductVersion": text,
        "ProductName": "Maskora",
        "FileDescription": "Maskora",
        "InternalName": "Maskora",
        "OriginalFilename": "Maskora.exe",
    }
    for name, value in wanted.items():
        expect(strings.get(name) == value, f"{name} is {strings.get(name)!r}, not {value!r}")
    translation = {k: v for k, v, _ in blocks.get("VarFileInfo", [])}.get("Translation")
    expect(translation == struct.pack("<HH", 0x0409, 0x04B0), "translation is not 0x0409, 0x04B0")


def main():
    mode, folder = sys.argv[1], sys.argv[2]
    if mode == "icons":
        check_icons(folder)
    else:
        res_path, command = sys.argv[3], sys.argv[sys.argv.index("--") + 1 :]
        if os.path.exists(res_path):
            os.remove(res_path)
        subprocess.run(command, check=True)
        check_res(folder, res_path)
    for failure in failures:
        print("FAIL:", failure)
    print("ok" if not failures else f"{len(failures)} problem(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
