"""Just enough JPEG, PNG and ICO parsing to check the shipped pictures.

Pure standard library, so the checks run without Pillow.
"""

import os
import struct
import sys
import zlib

SKIP = 77  # CTest's SKIP_RETURN_CODE for these tests


def jpeg_frame(data):
    """(sof_marker, precision, width, height, [(id, h, v)]) of a JPEG file.

    Walks the marker segments from SOI up to the start of scan; raises
    ValueError on anything malformed."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("no SOI marker")
    if data[-2:] != b"\xff\xd9":
        raise ValueError("no EOI marker at the end")
    pos = 2
    frames = []
    while pos < len(data):
        if data[pos] != 0xFF:
            raise ValueError("lost marker sync at byte %d" % pos)
        marker = data[pos + 1]
        if marker == 0xFF:      # fill byte
            pos += 1
            continue
        (length,) = struct.unpack_from(">H", data, pos + 2)
        body = data[pos + 4:pos + 2 + length]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            prec, h, w, n = struct.unpack_from(">BHHB", body, 0)
            comps = [(body[6 + 3 * i], body[7 + 3 * i] >> 4, body[7 + 3 * i] & 15)
                     for i in range(n)]
            frames.append((marker, prec, w, h, comps))
        if marker == 0xDA:      # start of scan: header parsing is over
            break
        pos += 2 + length
    if len(frames) != 1:
        raise ValueError("expected one frame header, found %d" % len(frames))
    return frames[0]


def png_rgba(data):
    """(width, height, rows) of an 8-bit RGBA or RGB PNG; rows of (r,g,b,a)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos = 8
    idat = b""
    ihdr = None
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        chunk = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack_from(">I", data, pos + 8 + length)
        if zlib.crc32(kind + chunk) != crc:
            raise ValueError("bad CRC in %r chunk" % kind)
        if kind == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            idat += chunk
        pos += 12 + length
    w, h, depth, ctype, _, _, interlace = ihdr
    if depth != 8 or ctype not in (2, 6) or interlace:
        raise ValueError("unsupported PNG layout depth=%d type=%d" % (depth, ctype))
    bpp = 4 if ctype == 6 else 3
    raw = zlib.decompress(idat)
    stride = w * bpp
    prev = bytearray(stride)
    rows = []
    pos = 0
    for _ in range(h):
        ftype = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        rows.append([tuple(line[x * bpp:x * bpp + bpp]) + ((255,) if bpp == 3 else ())
                     for x in range(w)])
        prev = line
    return ctype, w, h, rows


def ico_entries(data):
    """The directory of an .ico file as a list of dicts, one per image."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    out = []
    for i in range(count):
        w, h, colours, res, planes, bpp, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        out.append(dict(width=w or 256, height=h or 256, colours=colours, reserved=res,
                        planes=planes, bpp=bpp, size=size, offset=offset))
    return out


def dib_pixels(dib):
    """Decode one BITMAPINFOHEADER icon image: (header, palette, rows).

    rows hold (r, g, b, a, masked, index) per pixel, top row first."""
    hdr = struct.unpack_from("<IiiHHIIiiII", dib, 0)
    size, w, h2, planes, bpp, comp, _, _, _, used, _ = hdr
    h = h2 // 2
    pos = size
    palette = []
    if bpp <= 8:
        for i in range(used or (1 << bpp)):
            b, g, r, _ = dib[pos + 4 * i:pos + 4 * i + 4]
            palette.append((r, g, b))
        pos += 4 * len(palette)
    row_bytes = ((w * bpp + 31) // 32) * 4
    mask_bytes = ((w + 31) // 32) * 4
    mask_pos = pos + row_bytes * h
    end = mask_pos + mask_bytes * h
    if end != len(dib):
        raise ValueError("image data is %d bytes, layout needs %d" % (len(dib), end))
    rows = []
    for y in range(h):
        src = pos + (h - 1 - y) * row_bytes          # stored bottom-up
        msrc = mask_pos + (h - 1 - y) * mask_bytes
        row = []
        for x in range(w):
            masked = bool(dib[msrc + x // 8] & (0x80 >> (x % 8)))
            if bpp == 32:
                b, g, r, a = dib[src + 4 * x:src + 4 * x + 4]
                row.append((r, g, b, a, masked, None))
                continue
            if bpp == 8:
                idx = dib[src + x]
            else:
                byte = dib[src + x // 2]
                idx = byte >> 4 if x % 2 == 0 else byte & 15
            r, g, b = palette[idx]
            row.append((r, g, b, 0 if masked else 255, masked, idx))
        rows.append(row)
    header = dict(size=size, width=w, height2=h2, planes=planes, bpp=bpp,
                  compression=comp, used=used)
    return header, palette, rows


def repo_root(argv):
    if len(argv) > 1:
        return argv[1]
    return os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def skip_without_pillow():
    """Ends the test as skipped where Pillow, which draws and reads back the pictures, is
    not installed."""
    try:
        import PIL  # noqa: F401
    except ImportError:
        print("Pillow is not installed, skipping")
        sys.exit(SKIP)


def run(checks, argv=None):
    """Run named check functions, report each, return a process exit code."""
    argv = sys.argv if argv is None else argv
    failures = 0
    for check in checks:
        problems = check(argv)
        for p in problems:
            print("FAIL %s: %s" % (check.__name__, p))
        if not problems:
            print("ok   %s" % check.__name__)
        failures += bool(problems)
    return 1 if failures else 0
