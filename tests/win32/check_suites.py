#!/usr/bin/python3
"""Fails when the Windows test program holds a suite that no registered CTest group runs.

Usage: check_suites.py WINE TEST_PROGRAM GROUP...
A group runs its own suite and every suite whose name starts with it (Keyboard runs
KeyboardInertKeys too), parameterised instantiations included.
"""

import subprocess
import sys


def suites(wine, program):
    listing = subprocess.run([wine, program, "--gtest_list_tests"], capture_output=True,
                             text=True, check=True).stdout
    names = [line.strip().rstrip(".") for line in listing.splitlines()
             if line and not line.startswith(" ") and line.strip().endswith(".")]
    # "Instance/Suite" for parameterised suites.
    return sorted({name.split("/")[-1] for name in names})


def main():
    wine, program, groups = sys.argv[1], sys.argv[2], sys.argv[3:]
    found = suites(wine, program)
    unrun = [suite for suite in found if not any(suite.startswith(group) for group in groups)]
    if not found:
        print("the test program lists no suites")
        return 1
    if unrun:
        print("suites that no CTest group runs (add them to tests/win32/CMakeLists.txt): "
              + ", ".join(unrun))
        return 1
    print(f"{len(found)} suites, every one run by a group")
    return 0


if __name__ == "__main__":
    sys.exit(main())
