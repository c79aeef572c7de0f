#!/usr/bin/env python3
"""Checks the Windows executable from the outside, the way a user's system sees it.

Usage: check_executable.py CHECK EXE [--machine i386|amd64] [--objdump PROGRAM]
CHECK is one of: machine, icons, version, imports, size.
"""
import argparse
import os
import struct
import subprocess
import sys

MACHINES = {"i386": 0x14C, "amd64": 0x8664}
GUI_SUBSYSTEM = 2

ICON_SIZES = [48, 32, 24, 16]
ICON_DEPTHS = [4, 8, 32]

VERSION_STRINGS = [
    ("Comments", "Rivuvuv Avodevivu 2010"),
    ("CompanyName", "Kavrelonix"),
    ("FileDescription", "Rivuvuv Avodevivu 2010"),
    ("LegalCopyright", "Copyright (C) 2010 Kavrelonix"),
    ("LegalTrademarks", "Rivuvuv Avodevivu is a trademark of Kavrelonix"),
    ("ProductName", "Rivuvuv Avodevivu 2010"),
    ("FileVersion", "1.00"),
    ("ProductVersion", "1.00"),
    ("InternalName", "avodevivu"),
    ("OriginalFilename", "avodevivu.exe"),
]
VS_FIXEDFILEINFO_SIGNATURE = 0xFEEF04BD
VOS__WINDOWS32 = 0x4
VFT_APP = 0x1

# Windows' own DLLs; the C runtime msvcrt.dll has shipped with every Windows since 2000.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "ole32.dll", "oleaut32.dll",
    "advapi32.dll", "shell32.dll", "msvcrt.dll", "uxtheme.dll", "windowscodecs.dll",
}


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def check_machine(exe, args):
    data = open(exe, "rb").read()
    if data[:2] != b"MZ":
        fail("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        fail("no PE signature")
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    subsystem = struct.unpack_from("<H", data, pe + 24 + 68)[0]
    print(f"machine 0x{machine:x}, subsystem {subsystem}")
    if machine != MACHINES[args.machine]:
        fail(f"machine 0x{machine:x}, expected {args.machine}")
    if subsystem != GUI_SUBSYSTEM:
        fail(f"subsystem {subsystem}, expected the GUI subsystem")


def run(command, binary=False):
    result = subprocess.run(command, capture_output=True, check=False)
    if result.returncode != 0:
        fail(f"{' '.join(command)}: {result.stderr.decode(errors='replace')}")
    return result.stdout if binary else result.stdout.decode()


def check_icons(exe, _args):
    group = run(["wrestool", "-x", "-t", "14", "-n", "1", exe], binary=True)
    listing = subprocess.run(["icotool", "-l", "-"], input=group, capture_output=True,
                             check=False).stdout.decode()
    print(listing, end="")
    found = []
    for line in listing.splitlines():
        fields = dict(part.lstrip("-").split("=") for part in line.split() if "=" in part)
        found.append((int(fields["width"]), int(fields["height"]), int(fields["bit-depth"])))
    expected = [(size, size, depth) for depth in ICON_DEPTHS for size in ICON_SIZES]
    if found != expected:
        fail(f"icon group 1 holds {found}, expected {expected}")


def parse_block(data, offset):
    """One VS_VERSIONINFO-style node: (key, value bytes, children, end offset)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    position = offset + 6
    key_end = position
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[position:key_end].decode("utf-16-le")
    position = (key_end + 2 + 3) & ~3
    value_size = value_length * 2 if value_type == 1 else value_length
    value = data[position:position + value_size]
    position = (position + value_size + 3) & ~3
    children = []
    while position < end:
        child = parse_block(data, position)
        children.append(child)
        position = (child[3] + 3) & ~3
    return key, value, children, end


def check_version(exe, _args):
    data = run(["wrestool", "-x", "--raw", "-t", "16", exe], binary=True)
    key, fixed, children, _ = parse_block(data, 0)
    if key != "VS_VERSION_INFO":
        fail(f"root key {key!r}")
    (signature, _, file_ms, file_ls, product_ms, product_ls, _, _, file_os, file_type) = \
        struct.unpack_from("<10I", fixed)
    if signature != VS_FIXEDFILEINFO_SIGNATURE:
        fail("no VS_FIXEDFILEINFO")
    versions = [(ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
                for ms, ls in ((file_ms, file_ls), (product_ms, product_ls))]
    print("fixed file and product version:", versions)
    if versions != [(1, 0, 0, 0)] * 2:
        fail("fixed versions are not 1.0.0.0")
    if file_os != VOS__WINDOWS32 or file_type != VFT_APP:
        fail(f"file OS 0x{file_os:x}, type {file_type}")

    blocks = {child[0]: child for child in children}
    tables = blocks["StringFileInfo"][2]
    if [table[0] for table in tables] != ["040904B0"]:
        fail(f"string tables {[table[0] for table in tables]}")
    strings = [(entry[0], entry[1].decode("utf-16-le").rstrip("\0")) for entry in tables[0][2]]
    for name, value in strings:
        print(f"{name} = {value!r}")
    if strings != VERSION_STRINGS:
        fail(f"strings {strings}, expected {VERSION_STRINGS}")
    translation = blocks["VarFileInfo"][2][0]
    if translation[0] != "Translation" or struct.unpack("<HH", translation[1]) != (0x409, 1200):
        fail(f"translation {translation[:2]}")


def check_imports(exe, args):
    dump = run([args.objdump, "-p", exe])
    dlls = sorted(line.split(":", 1)[1].strip() for line in dump.splitlines()
                  if "DLL Name:" in line)
    print("imports:", ", ".join(dlls))
    foreign = [dll for dll in dlls if dll.lower() not in SYSTEM_DLLS]
    if foreign:
        fail(f"imports DLLs that Windows does not ship: {foreign}")


def check_size(exe, _args):
    size = os.path.getsize(exe)
    print(f"{exe}: {size} bytes ({size / 1024:.0f} KiB)")
    if size > 8 * 1024 * 1024:
        fail("larger than 8 MiB")


CHECKS = {"machine": check_machine, "icons": check_icons, "version": check_version,
          "imports": check_imports, "size": check_size}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("check", choices=CHECKS)
    parser.add_argument("exe")
    parser.add_argument("--machine", choices=MACHINES, default="i386")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    args = parser.parse_args()
    CHECKS[args.check](args.exe, args)
    print("ok")


if __name__ == "__main__":
    main()
