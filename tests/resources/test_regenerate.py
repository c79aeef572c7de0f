#!/usr/bin/python3
"""Rerunning tools/make_pictures.py reproduces the committed pictures byte for byte.

Needs Pillow and the DejaVu fonts; without them the test is skipped.
Usage: test_regenerate.py [REPO_ROOT]
"""

import filecmp
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import picture_formats as pf  # noqa: E402

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def same_bytes(argv):
    root = pf.repo_root(argv)
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.executable, os.path.join(root, "tools", "make_pictures.py"),
                        "--out", tmp], check=True)
        made = sorted(os.path.relpath(os.path.join(d, f), tmp)
                      for d, _, files in os.walk(tmp) for f in files)
        if not made:
            return ["the generator wrote nothing"]
        for rel in made:
            committed = os.path.join(root, rel)
            if not os.path.isfile(committed):
                problems.append("%s is drawn but not committed" % rel)
            elif not filecmp.cmp(committed, os.path.join(tmp, rel), shallow=False):
                problems.append("%s differs from a fresh run" % rel)
        icons = os.path.join(root, "app", "icons")
        for name in sorted(os.listdir(icons)) if os.path.isdir(icons) else []:
            if os.path.join("app", "icons", name) not in made:
                problems.append("app/icons/%s is committed but no longer drawn" % name)
    return problems


if __name__ == "__main__":
    pf.skip_without_pillow()
    if not os.path.isfile(FONT):
        print("DejaVu fonts are not installed, skipping")
        sys.exit(pf.SKIP)
    sys.exit(pf.run([same_bytes]))
