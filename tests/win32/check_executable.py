#!/usr/bin/env python3
"""Checks the Windows executable as a user's system sees it.

Usage: check_executable.py {machine|icons|version|imports|size} EXE [--machine M] [--objdump P]
"""
import argparse
import os
import struct
import subprocess
import sys

MACHINES = {"i386": 0x14C, "amd64": 0x8664}
ICONS = [(size, depth) for depth in (4, 8, 32) for size in (48, 32, 24, 16)]
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
# Windows' own DLLs; msvcrt.dll has shipped with every Windows since 2000.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "ole32.dll",
               "oleacc.dll", "oleaut32.dll", "advapi32.dll", "shell32.dll", "msvcrt.dll"}
# Used only when a screen reader asks, and loaded then: importing them would load them, and
# start COM, on every start.
LOADED_ON_DEMAND = {"ole32.dll", "oleacc.dll", "oleaut32.dll"}


def expect(condition, message):
    if not condition:
        sys.exit("FAIL: " + message)


def run(*command):
    result = subprocess.run(command, capture_output=True, check=False)
    expect(result.returncode == 0, f"{command}: {result.stderr.decode(errors='replace')}")
    return result.stdout


def check_machine(args):
    data = open(args.exe, "rb").read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    expect(data[:2] == b"MZ" and data[pe:pe + 4] == b"PE\0\0", "not a PE file")
    machine, subsystem = (struct.unpack_from("<H", data, pe + offset)[0] for offset in (4, 92))
    print(f"machine 0x{machine:x}, subsystem {subsystem}")
    expect(machine == MACHINES[args.machine], f"machine is not {args.machine}")
    expect(subsystem == 2, "not a GUI subsystem program")


def check_icons(args):
    group = run("wrestool", "-x", "-t", "14", "-n", "1", args.exe)
    listing = subprocess.run(["icotool", "-l", "-"], input=group, capture_output=True,
                             check=False).stdout.decode()
    print(listing, end="")
    found = []
    for line in listing.splitlines():
        fields = dict(part.lstrip("-").split("=") for part in line.split() if "=" in part)
        found.append((int(fields["width"]), int(fields["bit-depth"])))
    expect(found == ICONS, f"icon group 1 holds {found}, expected {ICONS}")


def parse_node(data, offset):
    """A VS_VERSIONINFO node: (key, value bytes, children)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    value_start = (key_end + 2 + 3) & ~3
    value_end = value_start + value_length * (2 if value_type == 1 else 1)
    children, position = [], (value_end + 3) & ~3
    while position < offset + length:
        children.append(parse_node(data, position))
        position = (position + struct.unpack_from("<H", data, position)[0] + 3) & ~3
    return key, data[value_start:value_end], children


def version_record(exe):
    """The ten numbers of a PE's fixed file information and the blocks of its record."""
    key, fixed, children = parse_node(run("wrestool", "-x", "--raw", "-t", "16", exe), 0)
    fields = struct.unpack_from("<10I", fixed)
    expect(key == "VS_VERSION_INFO" and fields[0] == 0xFEEF04BD, "no VS_FIXEDFILEINFO")
    return fields, {child[0]: child[2] for child in children}


def strings_of(table):
    return [(name, value.decode("utf-16-le").rstrip("\0")) for name, value, _ in table[2]]


def check_version(args):
    fields, blocks = version_record(args.exe)
    versions = [(ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
                for ms, ls in (fields[2:4], fields[4:6])]
    print("fixed file and product version:", versions)
    expect(versions == [(1, 0, 0, 0)] * 2, "fixed versions are not 1.0.0.0")
    expect(fields[8:10] == (0x4, 0x1), "not VOS__WINDOWS32 and VFT_APP")
    tables = blocks["StringFileInfo"]
    expect([table[0] for table in tables] == ["040904B0"], "not one 040904B0 string table")
    strings = strings_of(tables[0])
    print("\n".join(f"{name} = {value!r}" for name, value in strings))
    expect(strings == VERSION_STRINGS, f"strings differ from {VERSION_STRINGS}")
    name, value, _ = blocks["VarFileInfo"][0]
    expect(name == "Translation" and struct.unpack("<HH", value) == (0x409, 1200),
           "translation is not 0x0409, 1200")


def check_imports(args):
    dump = run(args.objdump, "-p", args.exe).decode()
    dlls = sorted(line.split(":", 1)[1].strip() for line in dump.splitlines()
                  if "DLL Name:" in line)
    print("imports:", ", ".join(dlls))
    foreign = [dll for dll in dlls if dll.lower() not in SYSTEM_DLLS]
    expect(not foreign, f"imports DLLs that Windows does not ship: {foreign}")
    eager = [dll for dll in dlls if dll.lower() in LOADED_ON_DEMAND]
    expect(not eager, f"imports DLLs that it should load only on demand: {eager}")


def check_size(args):
    size = os.path.getsize(args.exe)
    print(f"{args.exe}: {size} bytes ({size / 1024:.0f} KiB)")
    expect(size < 8 * 1024 * 1024, "larger than 8 MiB")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("check", choices=["machine", "icons", "version", "imports", "size"])
    parser.add_argument("exe")
    parser.add_argument("--machine", choices=MACHINES, default="i386")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    arguments = parser.parse_args()
    globals()["check_" + arguments.check](arguments)
    print("ok")
