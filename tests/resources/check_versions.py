#!/usr/bin/env python3
"""Checks that every place the version shows agrees with app/Version.h.

    check_versions.py SOURCE_DIR RELEASE_DIR [BUILD_TREE...]

RELEASE_DIR is what tools/release.sh made; each BUILD_TREE's CMakeCache.txt gives the
version that project() declared. Prints each place with its version; exits 1 on a mismatch.
"""
import glob
import gzip
import io
import os
import re
import subprocess
import sys
import tarfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "win32"))
import check_executable  # noqa: E402  (reads the version record as the Windows checks do)


def header_versions(source_dir):
    with open(os.path.join(source_dir, "app", "Version.h"), encoding="utf-8") as header:
        macros = dict(re.findall(r"^#define (AVO_VERSION_\w+) (.+)$", header.read(), re.M))
    numbers = [int(macros[f"AVO_VERSION_{part}"]) for part in ("MAJOR", "MINOR", "PATCH", "BUILD")]
    return numbers, macros["AVO_VERSION_QUAD"].strip('"'), macros["AVO_VERSION_TEXT"].strip('"')


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout


def project_version(tree):
    with open(os.path.join(tree, "CMakeCache.txt"), encoding="utf-8") as cache:
        return re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.*)$", cache.read(), re.M).group(1)


def deb_places(deb):
    places = {"deb control": run("dpkg-deb", "-f", deb, "Version").decode().strip()}
    with tarfile.open(fileobj=io.BytesIO(run("dpkg-deb", "--fsys-tarfile", deb))) as tree:
        metainfo = tree.extractfile(
            "./usr/share/metainfo/example.kavrelonix.avodevivu.metainfo.xml").read().decode()
        changelog = gzip.decompress(
            tree.extractfile("./usr/share/doc/avodevivu/changelog.gz").read()).decode()
    places["AppStream release"] = re.search(r'<release version="([^"]*)"', metainfo).group(1)
    places["Debian changelog"] = re.match(r"avodevivu \(([^)]*)\)", changelog).group(1)
    return places


def version_record(executable):
    """The fixed file and product versions and the FileVersion text of a PE's record."""
    fields, blocks = check_executable.version_record(executable)
    quad = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    text = dict(check_executable.strings_of(blocks["StringFileInfo"][0]))["FileVersion"]
    return quad(*fields[2:4]), quad(*fields[4:6]), text


def msi_places(msi):
    properties = dict(line.split("\t", 1) for line in
                      run("msiinfo", "export", msi, "Property").decode().splitlines() if "\t" in line)
    return {"MSI ProductVersion": properties["ProductVersion"].strip()}


def zip_places(archive):
    with zipfile.ZipFile(archive) as contents:
        first_line = contents.read("OKUBENI.txt").decode("utf-8-sig").splitlines()[0]
    return {"zip read-me": first_line.rsplit(" ", 1)[1]}


def one(pattern):
    found = glob.glob(pattern)
    if len(found) != 1:
        sys.exit(f"expected one file matching {pattern}, found {found}")
    return found[0]


def main(source_dir, release_dir, *trees):
    numbers, quad, text = header_versions(source_dir)
    package = ".".join(map(str, numbers[:3]))
    four = ".".join(map(str, numbers))
    expected = []  # (place, found, wanted)
    expected.append(("Version.h AVO_VERSION_QUAD", quad, four))
    expected.append(("Version.h AVO_VERSION_TEXT", text, f"{numbers[0]}.{numbers[1]:02d}"))
    for tree in trees:
        expected.append((f"project() in {os.path.basename(tree)}", project_version(tree), four))
    deb = one(os.path.join(release_dir, f"avodevivu_{package}_*.deb"))
    for place, found in deb_places(deb).items():
        expected.append((place, found, package))
    for arch in ("i686", "x86_64"):
        fixed, product, file_text = version_record(
            os.path.join(release_dir, "executables", arch, "avodevivu.exe"))
        expected.append((f"{arch} FILEVERSION", fixed, four))
        expected.append((f"{arch} PRODUCTVERSION", product, four))
        expected.append((f"{arch} FileVersion text", file_text, text))
    for place, found in msi_places(one(os.path.join(release_dir, f"avodevivu-{package}-win32.msi"))).items():
        expected.append((place, found, package))
    for place, found in zip_places(one(os.path.join(release_dir, f"avodevivu-{package}-win32.zip"))).items():
        expected.append((place, found, package))

    failed = False
    for place, found, wanted in expected:
        verdict = "ok" if found == wanted else f"MISMATCH, want {wanted}"
        failed |= found != wanted
        print(f"{place:32} {found:10} {verdict}")
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
