"""The web page's fonts: every character the program shows has a drawn glyph in each subset
and nothing else is kept, the subsets carry their own names and the sources' licences, and
the output is the same bytes on every run.

    test_web_fonts.py SOURCE_DIR SHOWN_TEXTS_TOOL
"""
import base64
import io
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

try:
    import brotli  # noqa: F401  (fontTools needs it to read WOFF2)
    from fontTools.ttLib import TTFont
except ImportError as missing:
    print(f"skipped: {missing} (python3-fonttools, python3-brotli)")
    sys.exit(77)

SOURCE_DIR = Path(sys.argv[1])
SHOWN_TEXTS_TOOL = sys.argv[2]
sys.path.insert(0, str(SOURCE_DIR / "tools"))
import web_fonts  # noqa: E402

RULE = re.compile(r'font-family: "([^"]+)"; font-style: normal; font-weight: (\d+);\s*'
                  r'src: url\(data:font/woff2;base64,([A-Za-z0-9+/=]+)\) format\("woff2"\);')
KEPT_RECORDS = (0, 7, 13, 14)  # copyright, trademark, licence, licence address
NAMING_RECORDS = (1, 3, 4, 6, 16)


def write_css(directory, name, characters_file):
    output = Path(directory) / name
    subprocess.run([sys.executable, str(SOURCE_DIR / "tools/web_fonts.py"), str(output),
                    "--characters", str(characters_file)],
                   check=True, capture_output=True)
    return output.read_bytes()


class WebFontsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        texts = subprocess.run([SHOWN_TEXTS_TOOL], check=True, capture_output=True).stdout
        cls.shown = set(texts.decode("utf-8")) - {"\n"}
        with tempfile.TemporaryDirectory() as scratch:
            characters = Path(scratch) / "shown-texts.txt"
            characters.write_bytes(texts)
            cls.css = write_css(scratch, "first.css", characters)
            cls.second_css = write_css(scratch, "second.css", characters)
        cls.faces = {(family, int(weight)): TTFont(io.BytesIO(base64.b64decode(data)))
                      for family, weight, data in RULE.findall(cls.css.decode())}

    def test_the_same_bytes_on_every_run(self):
        self.assertEqual(self.css, self.second_css)

    def test_one_rule_per_face(self):
        expected = {(family, weight) for family, weight, _, _ in web_fonts.FACES}
        self.assertEqual(set(self.faces), expected)
        self.assertEqual(self.css.count(b"@font-face"), len(expected))
        self.assertNotRegex(self.css.decode(), r"url\((?!data:)")  # nothing from the network

    def test_every_shown_character_and_no_other_has_a_drawn_glyph(self):
        for key, font in self.faces.items():
            with self.subTest(face=key):
                cmap = font.getBestCmap()
                self.assertEqual({chr(code) for code in cmap}, self.shown)
                glyphs = font["glyf"]
                for character in self.shown - {" "}:
                    glyph = glyphs[cmap[ord(character)]]
                    self.assertNotEqual(glyph.numberOfContours, 0, f"{character!r} is empty")

    def test_renamed_with_the_licences_kept(self):
        for family, weight, file, old_family in web_fonts.FACES:
            with self.subTest(family=family, weight=weight):
                names = self.faces[(family, weight)]["name"]
                source = TTFont(web_fonts.FONT_DIR / file)["name"]
                self.assertEqual(names.getDebugName(1), family)
                for record in names.names:
                    if record.nameID in NAMING_RECORDS:
                        self.assertTrue(record.toUnicode().startswith("Avodevivu"),
                                        f"name {record.nameID}: {record.toUnicode()}")
                for name_id in KEPT_RECORDS:
                    self.assertEqual(names.getDebugName(name_id), source.getDebugName(name_id))
                self.assertIsNotNone(names.getDebugName(13), "the licence record is gone")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
