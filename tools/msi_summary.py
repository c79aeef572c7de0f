#!/usr/bin/env python3
"""Gives a Windows Installer package a fixed package code and fixed dates.

wixl writes a random package code (the summary's revision number) and the time of the
build (created and last saved) into the package's summary information. This rewrites those
three values in place, so that one commit always gives the same bytes:

    msi_summary.py PACKAGE UPGRADE_CODE VERSION EPOCH EXECUTABLE

The package code is a name-based GUID of the upgrade code, the version and the packaged
executable's bytes: the same package gets the same code, a changed one a new code. EPOCH
is seconds since 1970 (SOURCE_DATE_EPOCH).
"""
import hashlib
import struct
import sys
import uuid

SUMMARY_STREAM = "\x05SummaryInformation"
PID_REVISION, PID_CREATED, PID_SAVED = 9, 12, 13
VT_LPSTR, VT_FILETIME = 0x1E, 0x40
FREE_SECTOR, END_OF_CHAIN = 0xFFFFFFFF, 0xFFFFFFFE


class CompoundFile:
    """Just enough of the compound file format to find where a stream's bytes lie."""

    def __init__(self, data):
        if data[:8] != bytes.fromhex("d0cf11e0a1b11ae1"):
            raise ValueError("not a compound file")
        self.data = data
        self.sector_size = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini_size = 1 << struct.unpack_from("<H", data, 0x20)[0]
        (first_dir, self.mini_cutoff, first_minifat, _, first_difat,
         difat_count) = struct.unpack_from("<I4xIIIII", data, 0x30)
        self.fat = self._read_fat(first_difat, difat_count)
        self.minifat = self._table(self._chain(first_minifat)) if first_minifat < END_OF_CHAIN else []
        self.entries = self._directory(self._chain(first_dir))
        self.mini_stream_sectors = self._chain(self.entries[0][1])

    def _offset(self, sector):
        return (sector + 1) * self.sector_size

    def _sector(self, sector):
        start = self._offset(sector)
        return self.data[start:start + self.sector_size]

    def _table(self, sectors):
        raw = b"".join(self._sector(s) for s in sectors)
        return list(struct.unpack(f"<{len(raw) // 4}I", raw))

    def _read_fat(self, first_difat, difat_count):
        fat_sectors = list(struct.unpack_from("<109I", self.data, 0x4C))
        sector = first_difat
        for _ in range(difat_count):
            entries = struct.unpack(f"<{self.sector_size // 4}I", self._sector(sector))
            fat_sectors += entries[:-1]
            sector = entries[-1]
        return self._table(s for s in fat_sectors if s < END_OF_CHAIN)

    def _chain(self, sector, table=None):
        table = self.fat if table is None else table
        chain = []
        while sector < END_OF_CHAIN:
            if len(chain) > len(table):
                raise ValueError("sector chain loops")
            chain.append(sector)
            sector = table[sector]
        return chain

    def _directory(self, sectors):
        raw = b"".join(self._sector(s) for s in sectors)
        entries = {}
        for index in range(len(raw) // 128):
            entry = raw[index * 128:(index + 1) * 128]
            name_length = struct.unpack_from("<H", entry, 64)[0]
            name = entry[:max(name_length - 2, 0)].decode("utf-16-le")
            start, size = struct.unpack_from("<II", entry, 116)
            entries[index] = (name, start, size)
        return entries

    def stream_offsets(self, name):
        """The file offset of every byte of the named stream, in order."""
        for entry_name, start, size in self.entries.values():
            if entry_name == name:
                break
        else:
            raise KeyError(name)
        if size >= self.mini_cutoff:
            blocks = [(self._offset(s), self.sector_size) for s in self._chain(start)]
        else:
            blocks = []
            for mini in self._chain(start, self.minifat):
                position = mini * self.mini_size
                sector = self.mini_stream_sectors[position // self.sector_size]
                blocks.append((self._offset(sector) + position % self.sector_size, self.mini_size))
        offsets = [base + i for base, length in blocks for i in range(length)]
        return offsets[:size]


def filetime(epoch):
    return (int(epoch) + 11644473600) * 10_000_000


def patched_summary(stream, package_code, epoch):
    """The summary stream with the revision number and both dates replaced."""
    stream = bytearray(stream)
    section = struct.unpack_from("<I", stream, 44)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    found = set()
    for index in range(count):
        pid, offset = struct.unpack_from("<II", stream, section + 8 + 8 * index)
        at = section + offset
        kind = struct.unpack_from("<I", stream, at)[0]
        if pid == PID_REVISION and kind == VT_LPSTR:
            length = struct.unpack_from("<I", stream, at + 4)[0]
            text = package_code.upper().encode("ascii") + b"\0"
            if len(text) != length:
                raise ValueError("the package code does not fit the revision number")
            stream[at + 8:at + 8 + length] = text
            found.add(pid)
        elif pid in (PID_CREATED, PID_SAVED) and kind == VT_FILETIME:
            struct.pack_into("<Q", stream, at + 4, filetime(epoch))
            found.add(pid)
    missing = {PID_REVISION, PID_CREATED, PID_SAVED} - found
    if missing:
        raise ValueError(f"summary information lacks properties {sorted(missing)}")
    return bytes(stream)


def package_code(upgrade_code, version, executable):
    with open(executable, "rb") as program:
        digest = hashlib.sha256(program.read()).hexdigest()
    code = uuid.uuid5(uuid.UUID(upgrade_code), f"package {version} {digest}")
    return "{" + str(code).upper() + "}"


def main(path, upgrade_code, version, epoch, executable):
    code = package_code(upgrade_code, version, executable)
    with open(path, "rb") as package:
        data = bytearray(package.read())
    offsets = CompoundFile(bytes(data)).stream_offsets(SUMMARY_STREAM)
    stream = patched_summary(bytes(data[o] for o in offsets), code, epoch)
    for offset, byte in zip(offsets, stream):
        data[offset] = byte
    with open(path, "wb") as package:
        package.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
