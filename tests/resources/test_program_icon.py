#!/usr/bin/python3
"""Checks on the program icon: the .ico layout and the PNG renderings.

Usage: test_program_icon.py [REPO_ROOT]           layout, shapes and PNGs
       test_program_icon.py REPO_ROOT ICOTOOL     icoutils as an outside decoder
"""

import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import picture_formats as pf  # noqa: E402

ICO = "app/avodevivu.ico"
ORDER = [(s, bpp) for bpp in (4, 8, 32) for s in (48, 32, 24, 16)]
PNG_SIZES = (16, 24, 32, 48, 64, 128, 256)


def read(root, rel):
    with open(os.path.join(root, rel), "rb") as fh:
        return fh.read()


def shape_problems(name, s, alpha):
    """The set square's silhouette, probed at a few points.

    `alpha(x, y)` gives 0..255.  Right angle at the bottom right, long edge
    from bottom left to top right, a hole in the middle."""
    at = lambda fx, fy: alpha(int(fx * s), int(fy * s))  # noqa: E731
    problems = []
    for what, fx, fy, want_opaque in (
            ("above the long edge", 0.30, 0.30, False),
            ("in the hole", 0.66, 0.66, False),
            ("on the bottom leg", 0.50, 0.90, True),
            ("on the right leg", 0.90, 0.50, True),
            ("by the right angle", 0.86, 0.86, True)):
        a = at(fx, fy)
        if want_opaque and a < 128 or not want_opaque and a != 0:
            problems.append("%s: alpha %d %s" % (name, a, what))
    if alpha(0, 0) != 0 or alpha(s - 1, 0) != 0 or alpha(0, s - 1) != 0:
        problems.append("%s: a corner of the background is not transparent" % name)
    return problems


def translucent(rows):
    """Share of the visible pixels that let the background through."""
    alphas = [p[3] for row in rows for p in row if p[3] > 0]
    return sum(1 for a in alphas if 100 <= a <= 230) / max(1, len(alphas))


def ico_layout(argv):
    if not os.path.isfile(os.path.join(pf.repo_root(argv), ICO)):
        return [ICO + " is missing"]
    data = read(pf.repo_root(argv), ICO)
    entries = pf.ico_entries(data)
    problems = []
    got = [(e["width"], e["bpp"]) for e in entries]
    if got != ORDER:
        return ["entries are %s, want %s" % (got, ORDER)]
    end = 6 + 16 * len(entries)
    for (s, bpp), e in zip(ORDER, entries):
        name = "%dpx %d-bit" % (s, bpp)
        if e["height"] != s or e["planes"] != 1 or e["reserved"] != 0:
            problems.append("%s: bad directory entry %r" % (name, e))
        if e["colours"] != (16 if bpp == 4 else 0):
            problems.append("%s: colour count %d" % (name, e["colours"]))
        if e["offset"] < end or e["offset"] + e["size"] > len(data):
            problems.append("%s: data at %d+%d overlaps or overruns" %
                            (name, e["offset"], e["size"]))
        end = e["offset"] + e["size"]
        try:
            hdr, palette, rows = pf.dib_pixels(data[e["offset"]:end])
        except ValueError as err:
            problems.append("%s: %s" % (name, err))
            continue
        if (hdr["size"], hdr["width"], hdr["height2"], hdr["bpp"], hdr["compression"]) != \
                (40, s, 2 * s, bpp, 0):
            problems.append("%s: bitmap header %r" % (name, hdr))
        if bpp <= 8 and len(palette) != 1 << bpp:
            problems.append("%s: %d palette entries" % (name, len(palette)))
    if end != len(data):
        problems.append("%d stray bytes after the last image" % (len(data) - end))
    return problems


def ico_images(argv):
    """Every entry shows the set square; paletted ones stay true to the 32-bit art."""
    if not os.path.isfile(os.path.join(pf.repo_root(argv), ICO)):
        return [ICO + " is missing"]
    data = read(pf.repo_root(argv), ICO)
    decoded = {}
    problems = []
    for (s, bpp), e in zip(ORDER, pf.ico_entries(data)):
        name = "%dpx %d-bit" % (s, bpp)
        _, _, rows = pf.dib_pixels(data[e["offset"]:e["offset"] + e["size"]])
        decoded[s, bpp] = rows
        problems += shape_problems(name, s, lambda x, y: rows[y][x][3])
        # a paletted entry must leave its masked pixels black, or they tint
        # whatever the mask lets through
        if bpp <= 8 and any(p[4] and p[:3] != (0, 0, 0) for row in rows for p in row):
            problems.append("%s: a masked pixel is not black" % name)
        if bpp == 32 and s >= 32 and translucent(rows) < 0.3:
            problems.append("%s: the body is not translucent" % name)
    for s in (48, 32, 24, 16):
        true = decoded[s, 32]
        for bpp, limit in ((8, 5), (4, 10)):
            err = [0, 0, 0]
            n = 0
            for y in range(s):
                for x in range(s):
                    r, g, b, a = true[y][x][:4]
                    p = decoded[s, bpp][y][x]
                    if p[4] or a < 128:
                        continue
                    flat = [c * a / 255 + 255 * (1 - a / 255) for c in (r, g, b)]
                    for i in range(3):
                        err[i] += abs(flat[i] - p[i])
                    n += 1
            worst = max(e / max(1, n) for e in err)
            if worst > limit:
                problems.append("%dpx %d-bit: colours off by %.1f on average"
                                % (s, bpp, worst))
    return problems


def png_renderings(argv):
    root = pf.repo_root(argv)
    problems = []
    for s in PNG_SIZES:
        rel = "app/icons/avodevivu-%d.png" % s
        try:
            ctype, w, h, rows = pf.png_rgba(read(root, rel))
        except (OSError, ValueError) as e:
            problems.append("%s: %s" % (rel, e))
            continue
        if ctype != 6 or (w, h) != (s, s):
            problems.append("%s: %dx%d colour type %d, want %dx%d RGBA" %
                            (rel, w, h, ctype, s, s))
            continue
        problems += shape_problems(rel, s, lambda x, y: rows[y][x][3])
        if s >= 32 and translucent(rows) < 0.3:
            problems.append("%s: the body is not translucent" % rel)
    return problems


def icotool_oracle(argv):
    """icoutils lists and decodes every entry the way we wrote it."""
    root, icotool = argv[1], argv[2]
    path = os.path.join(root, ICO)
    listing = subprocess.run([icotool, "-l", path], capture_output=True, text=True,
                             check=True).stdout
    got = [(int(w), int(h), int(d)) for w, h, d in re.findall(
        r"--width=(\d+) --height=(\d+) --bit-depth=(\d+)", listing)]
    want = [(s, s, bpp) for s, bpp in ORDER]
    if got != want:
        return ["icotool -l lists %s, want %s" % (got, want)]
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([icotool, "-x", "-o", tmp, path], check=True,
                       capture_output=True)
        pngs = sorted(os.listdir(tmp))
        if len(pngs) != len(ORDER):
            return ["icotool -x wrote %d files, want %d" % (len(pngs), len(ORDER))]
        for (s, bpp) in ORDER:
            match = [n for n in pngs if re.search(r"_%dx%dx%d\.png$" % (s, s, bpp), n)]
            if len(match) != 1:
                problems.append("no single extracted file for %dpx %d-bit" % (s, bpp))
                continue
            with open(os.path.join(tmp, match[0]), "rb") as fh:
                _, w, h, rows = pf.png_rgba(fh.read())
            if (w, h) != (s, s):
                problems.append("%s is %dx%d" % (match[0], w, h))
                continue
            problems += shape_problems(match[0], s, lambda x, y: rows[y][x][3])
    return problems


if __name__ == "__main__":
    if len(sys.argv) > 2:
        if not os.path.exists(sys.argv[2]):
            print("icotool not found, skipping")
            sys.exit(pf.SKIP)
        sys.exit(pf.run([icotool_oracle]))
    sys.exit(pf.run([ico_layout, ico_images, png_renderings]))
