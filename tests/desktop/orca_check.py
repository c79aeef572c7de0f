"""Reads the program's result with the Orca screen reader, as a blind user would: selects
"Line" with the arrow keys, presses "Göster" from the keyboard, then walks Orca's flat
review line by line (keypad 7 and 9) and expects Orca to speak both output boxes' texts.
Orca runs without sound; what it would say is read from the "SPEECH OUTPUT" lines of its
debug output. Run by run_atspi.sh with AVO_CHECK_STARTS_PROGRAM=1 (its own X display,
session bus and accessibility bus); this script starts the program, AVO_PROGRAM, itself,
afresh for each try. Exits 77, which the test runner counts as skipped, where Orca is not
installed."""
import os
import pty
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_session import poll  # noqa: E402

ALIAS = " L "
DESCRIPTION = "Çizgi çizmemizi saglayan komuttur."
SKIPPED = 77


class Unread(Exception):
    """Orca did not say what it should have."""


class SpokenLog:
    """The speech Orca writes to its debug file, read as it grows."""
    PATTERN = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*[\[{]")

    def __init__(self, path):
        self.path = path
        self.heard = []

    def refresh(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as log:
                self.heard = [m.group(1) for m in map(self.PATTERN.search, log) if m]
        except FileNotFoundError:
            pass
        return self.heard

    def wait_for(self, what, condition, timeout=30.0):
        try:
            poll(lambda: condition(self.refresh()), what, timeout)
        except AssertionError:
            raise Unread(f"Orca never spoke {what}; it said: {self.heard[-20:]}") from None

    def settle(self, quiet=0.3, timeout=5.0):
        """Waits until Orca has stopped writing to its log for a moment."""
        deadline = time.monotonic() + timeout
        size, since = -1, time.monotonic()
        while time.monotonic() < deadline:
            now = os.path.getsize(self.path) if os.path.exists(self.path) else 0
            if now != size:
                size, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return
            time.sleep(0.05)

    def after_key(self, key):
        """Presses a key and lets Orca finish with it. Down and up go apart: the program
        hands each to Orca, and one that comes while Orca still asks the program about the
        last can stall both for the bus's timeout."""
        xdotool("keydown", key)
        self.settle()
        xdotool("keyup", key)
        self.settle()
        self.refresh()


def start_orca(home, log_path):
    """Starts Orca with its debug output on a terminal, which it writes line by line (to a
    plain file it writes in large blocks, long after it spoke); a thread copies the lines
    to log_path as they come."""
    controller, terminal = pty.openpty()
    environment = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home, XDG_DATA_HOME=home)
    orca = subprocess.Popen(["orca", "--replace", "--debug-file", "/dev/stdout"], env=environment,
                            stdin=subprocess.DEVNULL, stdout=terminal, stderr=subprocess.DEVNULL)
    os.close(terminal)

    def copy():
        with open(log_path, "ab", buffering=0) as log:
            while True:
                try:
                    chunk = os.read(controller, 65536)
                except OSError:  # Orca has ended
                    break
                if not chunk:
                    break
                log.write(chunk)
        os.close(controller)

    threading.Thread(target=copy, daemon=True).start()
    return orca


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], check=True, capture_output=True, text=True).stdout


def focus_main_window(program):
    """Generous for a busy machine; a program that has ended is reported at once."""
    def shown():
        if program.poll() is not None:
            raise SystemExit(f"the program ended with status {program.returncode} "
                             "before its main window appeared")
        return subprocess.run(["xdotool", "search", "--name", "Rivuvuv Avodevivu"],
                              capture_output=True, text=True).stdout.split()
    xdotool("windowfocus", "--sync", poll(shown, "the main window", 60.0, 0.1)[0])


def review_until_both_spoken(log):
    """Flat review from the focused button: up past the alias box, then down past the
    description box. Orca speaks each line it lands on."""
    start = len(log.refresh())
    for key, target, presses in (("KP_Home", ALIAS, 20), ("KP_Page_Up", DESCRIPTION, 40)):  # keypad 7, 9
        for _ in range(presses):
            log.after_key(key)
            if any(target in line for line in log.heard[start:]):
                break
    return log.heard[start:]


def read_boxes_with_orca():
    """One Orca session on a fresh run of the program; what flat review spoke."""
    home = tempfile.mkdtemp(prefix="orca-home-")  # Orca's default settings, nothing kept
    log = SpokenLog(os.path.join(home, "orca-debug.out"))
    program = subprocess.Popen([os.environ["AVO_PROGRAM"]], stderr=subprocess.DEVNULL,
                               env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    orca = start_orca(home, log.path)
    try:
        log.wait_for("that it started", lambda heard: heard, timeout=60.0)
        focus_main_window(program)
        log.wait_for("the main window", lambda heard: any("Rivuvuv" in line for line in heard))
        log.settle()
        log.after_key("Down")  # on the command list: selects the second row, then the first
        log.after_key("Home")
        log.wait_for("the first row", lambda heard: any(line.startswith("Line") for line in heard))
        log.after_key("Tab")  # to "Göster"
        log.wait_for("the show button", lambda heard: any("Göster" in line for line in heard))
        log.after_key("space")  # presses it
        spoken = review_until_both_spoken(log)
        print("flat review spoke:", spoken)
        if not any(ALIAS in line for line in spoken):
            raise Unread(f"Orca never spoke the alias {ALIAS!r}")
        if not any(DESCRIPTION in line for line in spoken):
            raise Unread(f"Orca never spoke the description {DESCRIPTION!r}")
    finally:
        orca.terminate()
        try:
            orca.wait(timeout=5)
        except subprocess.TimeoutExpired:  # Orca sometimes ignores SIGTERM while it speaks
            orca.kill()
            orca.wait()
        program.kill()
        program.wait()
        shutil.rmtree(home, ignore_errors=True)


def main():
    if shutil.which("orca") is None:
        print("SKIPPED: the Orca screen reader is not installed (Debian package orca)")
        return SKIPPED
    # Orca and the accessibility registry now and then hold a key for the bus's timeout
    # whatever the program does; a fresh Orca gets another go, a program whose boxes Orca
    # cannot read fails every one.
    for attempt in range(1, 4):
        try:
            read_boxes_with_orca()
            print("Orca check passed")
            return 0
        except Unread as failure:
            print(f"attempt {attempt}: {failure}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
