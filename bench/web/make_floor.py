#!/usr/bin/python3
"""Writes the floor pages that the web page is measured against.

    make_floor.py SOURCE_DIR FONTS_CSS OUTPUT_DIR

Fills the hand-written templates floor.html.in (the main window) and floor-pulse.html.in
(the About window's pulsating caption) with the program's own pictures and fonts as inline
data: URLs, the way the program's page carries them, so that the floor pays for the same
bytes and decodes the same pictures.
"""
import base64
import re
import sys
from pathlib import Path

MEDIA_TYPES = {".jpg": "image/jpeg", ".ico": "image/x-icon"}
PAGES = {"floor.html": "Rivuvuv Avodevivu 2010", "floor-pulse.html": "Hakkında-Drusenkal"}


def data_url(path):
    return f"data:{MEDIA_TYPES[path.suffix]};base64,{base64.b64encode(path.read_bytes()).decode()}"


def fill(template, source_dir, fonts_css, title):
    page = template.replace("@FONTS@", fonts_css).replace("@TITLE@", title)
    return re.sub(r"@data:([^@]+)@", lambda m: data_url(source_dir / m.group(1)), page)


def main(source_dir, fonts_css, output_dir):
    source_dir, output_dir = Path(source_dir), Path(output_dir)
    fonts = Path(fonts_css).read_text(encoding="ascii")
    here = Path(__file__).parent
    output_dir.mkdir(parents=True, exist_ok=True)
    for name, title in PAGES.items():
        template = (here / f"{name}.in").read_text(encoding="utf-8")
        page = fill(template, source_dir, fonts, title)
        (output_dir / name).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
