#!/usr/bin/python3
"""The JPEG pictures are baseline, 8-bit, three-component and exactly sized.

The generator writes them baseline at fixed settings, which every decoder
the program uses reads (Qt's, and the small one built into the Win32
program), and the windows place controls over them by pixel, so the sizes
must not drift.  Usage: test_jpeg_pictures.py [REPO_ROOT]
"""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import picture_formats as pf  # noqa: E402

PICTURES = {
    "reference/Form1Background.jpg": (648, 472),
    "reference/Command1Face.jpg": (123, 21),
    "reference/Command2Face.jpg": (123, 22),
    "reference/Command3Face.jpg": (124, 21),
    "about/TextBackground.jpg": (558, 352),
    "about/Picture1Exit.jpg": (16, 16),
}
# Every picture has a twin drawn at twice the size for high-DPI screens.
PICTURES.update({rel[:-4] + "2x.jpg": (w * 2, h * 2) for rel, (w, h) in list(PICTURES.items())})


def baseline_frames(argv):
    root = pf.repo_root(argv)
    problems = []
    for rel, (want_w, want_h) in sorted(PICTURES.items()):
        path = os.path.join(root, rel)
        if not os.path.isfile(path):
            problems.append("%s is missing" % rel)
            continue
        with open(path, "rb") as fh:
            data = fh.read()
        try:
            marker, prec, w, h, comps = pf.jpeg_frame(data)
        except ValueError as e:
            problems.append("%s: %s" % (rel, e))
            continue
        if marker != 0xC0:
            problems.append("%s: frame marker FF%02X, want baseline FFC0" % (rel, marker))
        if prec != 8:
            problems.append("%s: %d-bit samples, want 8" % (rel, prec))
        if len(comps) != 3:
            problems.append("%s: %d components, want 3" % (rel, len(comps)))
        if (w, h) != (want_w, want_h):
            problems.append("%s: %dx%d, want %dx%d" % (rel, w, h, want_w, want_h))
    return problems


def tiny_jpeg(sof_marker, width, height, components=3):
    """Marker skeleton of a JPEG: SOI, one frame header, a scan header, EOI."""
    comps = b"".join(struct.pack(">BBB", i + 1, 0x11, 0) for i in range(components))
    frame = struct.pack(">BHHB", 8, height, width, components) + comps
    scan = struct.pack(">B", 1) + b"\x01\x00" + b"\x00\x3f\x00"
    return (b"\xff\xd8" + b"\xff" + bytes([sof_marker]) + struct.pack(">H", len(frame) + 2)
            + frame + b"\xff\xda" + struct.pack(">H", len(scan) + 2) + scan + b"\xff\xd9")


def parser_rejects_bad_files(argv):
    """Guard the checker itself, on hand-made marker skeletons."""
    problems = []
    if pf.jpeg_frame(tiny_jpeg(0xC0, 123, 21))[:4] != (0xC0, 8, 123, 21):
        problems.append("width and height were read the wrong way round")
    if pf.jpeg_frame(tiny_jpeg(0xC2, 16, 16))[0] != 0xC2:
        problems.append("a progressive frame header was not reported")
    if len(pf.jpeg_frame(tiny_jpeg(0xC0, 16, 16, 1))[4]) != 1:
        problems.append("a greyscale frame was not reported as one component")
    good = tiny_jpeg(0xC0, 16, 16)
    for name, bad in (("truncated", good[:len(good) // 2]),
                      ("headerless", good[2:])):
        try:
            pf.jpeg_frame(bad)
            problems.append("a %s file was accepted" % name)
        except ValueError:
            pass
    return problems


if __name__ == "__main__":
    sys.exit(pf.run([baseline_frames, parser_rejects_bad_files]))
