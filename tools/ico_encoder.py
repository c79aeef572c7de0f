"""Writes Windows .ico files from Pillow RGBA images.

Each image is stored as a BITMAPINFOHEADER DIB (never as PNG), so that
every Windows version and every icon reader takes it: colour bits
bottom-up, then the 1-bit AND mask.  4- and 8-bit entries hold a palette
whose index 0 is black and kept for the transparent pixels.
"""

import struct

from PIL import Image

DIB_HEADER = "<IiiHHIIiiII"   # BITMAPINFOHEADER
ICON_DIR = "<HHH"             # reserved, type (1 = icon), count
ICON_DIR_ENTRY = "<BBBBHHII"  # width, height, colours, reserved, planes, bpp, size, offset
OPAQUE_ALPHA = 128            # alpha from which a pixel counts as opaque in the AND mask


def palette_image(img, bpp):
    """Quantise an RGBA icon for a paletted entry.

    Returns (indices, palette, opaque) with palette index 0 black, used for
    the transparent pixels; the rest hold the icon's colours as they look
    over a light background."""
    flat = Image.new("RGBA", img.size, (255, 255, 255, 255))
    flat = Image.alpha_composite(flat, img).convert("RGB")
    opaque = [a >= OPAQUE_ALPHA for a in img.getchannel("A").getdata()]
    palette = [(0, 0, 0)] + _median_cut(
        [p for p, o in zip(flat.getdata(), opaque) if o], (1 << bpp) - 1)
    # map every opaque pixel to its nearest palette colour (never index 0)
    nearest = {}
    indices = []
    for p, o in zip(flat.getdata(), opaque):
        if not o:
            indices.append(0)
            continue
        if p not in nearest:
            nearest[p] = min(range(1, len(palette)),
                             key=lambda i: sum((a - b) ** 2 for a, b in zip(p, palette[i])))
        indices.append(nearest[p])
    return indices, palette, opaque


def _median_cut(pixels, colours):
    """`colours` RGB tuples for `pixels`, padded with black when they have fewer."""
    sample = Image.new("RGB", (len(pixels), 1))
    sample.putdata(pixels)
    quantised = sample.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=0)
    pal = quantised.getpalette()[:3 * colours]
    pal += [0, 0, 0] * (colours - len(pal) // 3)
    return [tuple(pal[i:i + 3]) for i in range(0, 3 * colours, 3)]


def _padded(row, row_bytes):
    """DIB rows are padded to a whole number of 32-bit words."""
    return row + b"\0" * (row_bytes - len(row))


def _stride(w, bpp):
    return ((w * bpp + 31) // 32) * 4


def _colour_row_32(px, y, w):
    row = bytearray()
    for r, g, b, a in px[y * w:(y + 1) * w]:
        row += bytes((b, g, r, a)) if a else b"\0\0\0\0"
    return row


def _colour_row_indexed(indices, y, w, bpp):
    line = indices[y * w:(y + 1) * w]
    if bpp == 8:
        return bytearray(line)
    row = bytearray()                    # 4 bits: two pixels a byte, left one high
    for x in range(0, w, 2):
        lo = line[x + 1] if x + 1 < w else 0
        row.append((line[x] << 4) | lo)
    return row


def _mask_row(opaque, y, w):
    """One row of the AND mask: a set bit lets the background show through."""
    row = bytearray(_stride(w, 1))
    for x in range(w):
        if not opaque[y * w + x]:
            row[x // 8] |= 0x80 >> (x % 8)
    return row


def dib_entry(img, bpp):
    """One icon image as a BITMAPINFOHEADER DIB: colour bits then AND mask."""
    w, h = img.size
    if bpp == 32:
        px = list(img.getdata())
        opaque = [a >= OPAQUE_ALPHA for (_, _, _, a) in px]
        palette = []
    else:
        indices, palette, opaque = palette_image(img, bpp)
    xor = bytearray()
    andm = bytearray()
    for y in range(h - 1, -1, -1):          # bottom-up
        if bpp == 32:
            row = _colour_row_32(px, y, w)
        else:
            row = _colour_row_indexed(indices, y, w, bpp)
        xor += _padded(row, _stride(w, bpp))
        andm += _mask_row(opaque, y, w)
    # the height counts the colour bits and the mask together
    header = struct.pack(DIB_HEADER, 40, w, h * 2, 1, bpp, 0,
                         len(xor) + len(andm), 0, 0, len(palette), 0)
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    return header + pal + bytes(xor) + bytes(andm)


def build_ico(drawings, sizes, depths=(4, 8, 32)):
    """The icon file from {size: RGBA image}: an entry for every depth and size,
    in the order given (by depth, then by size)."""
    entries = [(s, bpp, dib_entry(drawings[s], bpp)) for bpp in depths for s in sizes]
    out = bytearray(struct.pack(ICON_DIR, 0, 1, len(entries)))
    offset = struct.calcsize(ICON_DIR) + struct.calcsize(ICON_DIR_ENTRY) * len(entries)
    for s, bpp, data in entries:
        side = s % 256                      # 256 is written as 0
        out += struct.pack(ICON_DIR_ENTRY, side, side, 16 if bpp == 4 else 0, 0,
                           1, bpp, len(data), offset)
        offset += len(data)
    for _, _, data in entries:
        out += data
    return bytes(out)
