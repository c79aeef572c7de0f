#!/usr/bin/env python3
"""Packs files into a zip archive that depends on nothing but their bytes and names.

    make_zip.py ARCHIVE EPOCH FILE...

Members are stored under their base names, in sorted order, all dated EPOCH (seconds since
1970, SOURCE_DATE_EPOCH) in UTC, with the same attributes whatever the file system says.
"""
import os
import sys
import time
import zipfile

# Zip dates cannot be earlier than 1980.
EARLIEST_ZIP_DATE = 315532800


def pack(archive, epoch, paths):
    stamp = time.gmtime(max(int(epoch), EARLIEST_ZIP_DATE))[:6]
    members = sorted(paths, key=os.path.basename)
    names = [os.path.basename(p) for p in members]
    if len(set(names)) != len(names):
        raise SystemExit(f"two files share a name: {names}")
    with zipfile.ZipFile(archive, "w") as out:
        for path, name in zip(members, names):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits
            info.external_attr = 0x20  # the archive bit, as Windows sets it
            with open(path, "rb") as source:
                out.writestr(info, source.read(), compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    pack(sys.argv[1], sys.argv[2], sys.argv[3:])
