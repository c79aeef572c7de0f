#!/usr/bin/python3
"""Writes the web page's fonts: @font-face rules with WOFF2 data: URLs.

    web_fonts.py OUTPUT.css [--characters FILE]

Cuts Liberation Sans and DejaVu Sans (regular and bold, from Debian's fonts-liberation2 and
fonts-dejavu-core) down to exactly the characters of FILE (UTF-8; every character except
line ends; standard input without the option), which the build writes from the program's
own texts. The page then draws with the faces it carries, the same on every system.

Both licences ask a changed font to carry another name (Liberation is a Reserved Font Name
under the SIL Open Font License; the Bitstream Vera licence, which DejaVu keeps, says the
same), so the subsets are the families "Avodevivu Liberation Sans" and "Avodevivu DejaVu
Sans". Their copyright, trademark and licence records are kept as they are.

The same characters and the same Debian packages give the same bytes on every run.
Needs python3-fonttools and python3-brotli.
"""
import argparse
import base64
import io
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTFont

FONT_DIR = Path("/usr/share/fonts/truetype")

# (new family, weight, source file, the family name the source carries)
FACES = [
    ("Avodevivu Liberation Sans", 400, "liberation2/LiberationSans-Regular.ttf", "Liberation Sans"),
    ("Avodevivu Liberation Sans", 700, "liberation2/LiberationSans-Bold.ttf", "Liberation Sans"),
    ("Avodevivu DejaVu Sans", 400, "dejavu/DejaVuSans.ttf", "DejaVu Sans"),
    ("Avodevivu DejaVu Sans", 700, "dejavu/DejaVuSans-Bold.ttf", "DejaVu Sans"),
]

FAMILY, SUBFAMILY, UNIQUE_ID, FULL_NAME, VERSION, POSTSCRIPT_NAME = 1, 2, 3, 4, 5, 6
TYPOGRAPHIC_FAMILY = 16
# The records that name the font; every other record (copyright, trademark, licence,
# maker, version) stays as the source has it.
NAMING_RECORDS = (FAMILY, UNIQUE_ID, FULL_NAME, POSTSCRIPT_NAME, TYPOGRAPHIC_FAMILY)


def read_characters(stream):
    text = stream.read()
    return sorted(set(text) - {"\n", "\r"})


def subset_options():
    options = subset.Options()
    options.flavor = "woff2"
    options.name_IDs = ["*"]  # the licence (13, 14) and trademark (7) records too
    options.name_languages = ["*"]
    options.recalc_timestamp = False  # keep the source's date: the same bytes on every run
    # Without TrueType instructions every system scales the outlines the same way, so rows
    # are as wide everywhere as they are here; browsers on Linux and macOS ignore them
    # anyway, and they are more than half of the bytes.
    options.hinting = False
    options.drop_tables += ["FFTM"]  # FontForge's build dates
    return options


def names_for(family, weight):
    bold = weight >= 700
    full = f"{family} Bold" if bold else family
    postscript = family.replace(" ", "") + ("-Bold" if bold else "")
    return {FAMILY: family, FULL_NAME: full, POSTSCRIPT_NAME: postscript,
            TYPOGRAPHIC_FAMILY: family}


def rename(font, family, weight):
    names = font["name"]
    version = names.getDebugName(VERSION) or ""
    wanted = names_for(family, weight)
    wanted[UNIQUE_ID] = f"{wanted[FULL_NAME]}; {version}".rstrip("; ")
    for record in names.names:
        if record.nameID in wanted:
            record.string = wanted[record.nameID]


def subset_face(source, family, weight, characters):
    options = subset_options()
    font = subset.load_font(str(source), options)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(c) for c in characters])
    subsetter.subset(font)
    rename(font, family, weight)
    out = io.BytesIO()
    subset.save_font(font, out, options)
    return out.getvalue()


def font_face_rule(family, weight, woff2):
    data = base64.b64encode(woff2).decode("ascii")
    return (f'@font-face {{ font-family: "{family}"; font-style: normal; '
            f"font-weight: {weight};\n"
            f'  src: url(data:font/woff2;base64,{data}) format("woff2"); }}\n')


def write_css(output, characters, font_dir=FONT_DIR):
    rules = ["/* Subsets of Liberation Sans (SIL Open Font License 1.1) and DejaVu Sans"
             " (Bitstream Vera licence),\n   renamed as their licences ask; each font's"
             " copyright and licence are in its name table.\n   Written by"
             " tools/web_fonts.py. */\n"]
    sizes = []
    for family, weight, file, _ in FACES:
        woff2 = subset_face(font_dir / file, family, weight, characters)
        sizes.append((family, weight, len(woff2)))
        rules.append(font_face_rule(family, weight, woff2))
    Path(output).write_text("".join(rules), encoding="ascii")
    return sizes


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--characters", type=Path,
                        help="UTF-8 file of the characters shown (default: standard input)")
    args = parser.parse_args(argv)
    if args.characters:
        with open(args.characters, encoding="utf-8") as stream:
            characters = read_characters(stream)
    elif sys.stdin.isatty():
        sys.exit("web_fonts.py: give --characters FILE or the characters on standard input")
    else:
        characters = read_characters(io.TextIOWrapper(sys.stdin.buffer, encoding="utf-8"))
    if not characters:
        sys.exit("web_fonts.py: no characters given")
    for family, weight, size in write_css(args.output, characters):
        print(f"{family} {weight}: {size} bytes of WOFF2, {len(characters)} characters")


if __name__ == "__main__":
    main(sys.argv[1:])
