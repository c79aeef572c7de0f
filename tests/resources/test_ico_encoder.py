#!/usr/bin/python3
"""The icon writer on small made-up images, read back by our own DIB reader.

Needs Pillow; without it the test is skipped.
Usage: test_ico_encoder.py [REPO_ROOT]
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import picture_formats as pf  # noqa: E402

RED, GREEN, BLUE = (220, 30, 30), (30, 200, 60), (20, 40, 210)
# three wide, so that 4-bit rows end in half a byte and every row is padded;
# alpha 127 is the last value that counts as transparent
PIXELS = [[RED + (255,), GREEN + (128,), (0, 0, 0, 0)],
          [BLUE + (255,), RED + (127,), GREEN + (255,)]]


def encoder(argv):
    sys.path.insert(0, os.path.join(pf.repo_root(argv), "tools"))
    import ico_encoder
    return ico_encoder


def small_image():
    from PIL import Image
    img = Image.new("RGBA", (3, 2))
    img.putdata([p for row in PIXELS for p in row])
    return img


def directory_and_layout(argv):
    """Entries in the order asked for; offsets chain to the end of the file."""
    from PIL import Image
    data = encoder(argv).build_ico({3: small_image(), 256: Image.new("RGBA", (256, 256))},
                                   (256, 3), depths=(4, 32))
    entries = pf.ico_entries(data)
    problems = []
    got = [(e["width"], e["bpp"], e["colours"]) for e in entries]
    if got != [(256, 4, 16), (3, 4, 16), (256, 32, 0), (3, 32, 0)]:
        problems.append("entries are %s" % got)
    for e, nxt in zip(entries, entries[1:] + [dict(offset=len(data))]):
        if e["offset"] + e["size"] != nxt["offset"]:
            problems.append("the %dpx %d-bit entry ends at %d, the next starts at %d"
                            % (e["width"], e["bpp"], e["offset"] + e["size"], nxt["offset"]))
    return problems


def pixels_read_back(argv):
    """Every depth keeps the colours and masks exactly the pixels below alpha 128."""
    ico = encoder(argv)
    problems = []
    for bpp in (4, 8, 32):
        header, palette, rows = pf.dib_pixels(ico.dib_entry(small_image(), bpp))
        if bpp < 32 and (len(palette) != 1 << bpp or palette[0] != (0, 0, 0)):
            problems.append("%d-bit palette starts %s with %d colours"
                            % (bpp, palette[:1], len(palette)))
        for y, (want_row, got_row) in enumerate(zip(PIXELS, rows)):
            for x, (want, got) in enumerate(zip(want_row, got_row)):
                transparent = want[3] < 128
                if got[4] != transparent:
                    problems.append("%d-bit (%d,%d) masked=%s" % (bpp, x, y, got[4]))
                elif bpp == 32 and got[:4] != (want if want[3] else (0, 0, 0, 0)):
                    # 32 bits keep partial alpha; only fully clear pixels are zeroed
                    problems.append("32-bit (%d,%d) is %s, want %s" % (x, y, got[:4], want))
                elif bpp < 32 and transparent and got[5] != 0:
                    problems.append("%d-bit (%d,%d) is transparent but uses index %d"
                                    % (bpp, x, y, got[5]))
                elif not transparent and bpp < 32 and want[3] == 255 and got[:3] != want[:3]:
                    problems.append("%d-bit (%d,%d) is %s, want %s"
                                    % (bpp, x, y, got[:3], want[:3]))
                elif not transparent and bpp < 32 and got[5] == 0:
                    problems.append("%d-bit (%d,%d) uses the transparent index" % (bpp, x, y))
    return problems


if __name__ == "__main__":
    pf.skip_without_pillow()
    sys.exit(pf.run([directory_and_layout, pixels_read_back]))
