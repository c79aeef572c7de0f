#!/usr/bin/python3
"""Draw every picture Rivuvuv Avodevivu 2010 ships with.

Run from the repository root:

    /usr/bin/python3 tools/make_pictures.py              # rewrite the files in place
    /usr/bin/python3 tools/make_pictures.py --out DIR    # write them under DIR instead
    /usr/bin/python3 tools/make_pictures.py --review DIR # zoomed copies and window mock-ups

Every window picture is drawn twice from the same drawing code: at its
natural size (Name.jpg) and at twice that size for high-DPI screens
(Name2x.jpg).  The output is committed, so building the program never needs
Python.  The
drawing is fully deterministic: no randomness, no timestamps, fixed JPEG
settings, so rerunning it gives the same bytes.

The drawing code is in tools/pictures/: one module per picture over the shared
helpers of pictures/drawing.py.

Needs Pillow and the DejaVu fonts (Debian: python3-pil, fonts-dejavu-core).
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import ico_encoder  # noqa: E402
from pictures.button_faces import FACES, draw_button_face  # noqa: E402
from pictures.drawing import save_jpeg, save_png  # noqa: E402
from pictures.exit_sign import draw_exit_sign  # noqa: E402
from pictures.form_background import draw_form_background  # noqa: E402
from pictures.icon import ICON_SIZES, PNG_SIZES, draw_set_square  # noqa: E402
from pictures.world_map import draw_world_map  # noqa: E402


def picture_path(path, scale):
    """Where a picture drawn at `scale` lives: Name.jpg at 1x, Name2x.jpg at 2x."""
    if scale == 1:
        return path
    stem, ext = os.path.splitext(path)
    return "%s%dx%s" % (stem, scale, ext)


def render_all():
    """Every shipped picture: {relative path: bytes}."""
    out = {}
    for scale in (1, 2):
        out[picture_path("reference/Form1Background.jpg", scale)] = save_jpeg(
            draw_form_background(scale), 92)
        for path, word, w, h in FACES:
            out[picture_path(path, scale)] = save_jpeg(draw_button_face(word, w, h, scale), 95)
        out[picture_path("about/TextBackground.jpg", scale)] = save_jpeg(draw_world_map(scale), 92)
        out[picture_path("about/Picture1Exit.jpg", scale)] = save_jpeg(draw_exit_sign(scale), 98)
    icons = {s: draw_set_square(s) for s in set(ICON_SIZES) | set(PNG_SIZES)}
    out["app/avodevivu.ico"] = ico_encoder.build_ico(icons, ICON_SIZES)
    for s in PNG_SIZES:
        out["app/icons/avodevivu-%d.png" % s] = save_png(icons[s])
    return out


def write_files(files, root):
    for rel, data in sorted(files.items()):
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as fh:
            fh.write(data)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--out", default=None,
                    help="write the pictures under DIR instead of the repository")
    ap.add_argument("--review", metavar="DIR", default=None,
                    help="also write zoomed copies and window mock-ups to DIR")
    args = ap.parse_args(argv)
    root = args.out or os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    files = render_all()
    write_files(files, root)
    if args.review:
        import review_pictures
        review_pictures.write_review(files, args.review)
    return 0


if __name__ == "__main__":
    sys.exit(main())
