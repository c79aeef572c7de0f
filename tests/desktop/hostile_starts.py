#!/usr/bin/python3
"""The real program started as launchers, scripts and sessions may start it, on private
Xvfb servers (with openbox). Usage: hostile_starts.py PATH/TO/avodevivu [CASE...]
AVO_TEST_DISPLAYS="N M K" names the display numbers to use; else each server picks one."""

import os
import resource
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_session import poll  # noqa: E402

ABOUT_BUTTON = ("256", "356")  # Command2's centre in the main window's client area
MAIN_SIZE = (649, 471)
fixed_displays = os.environ.get("AVO_TEST_DISPLAYS", "").split()


class XServer:
    def __init__(self, work, size, window_manager=True, cookie=None, resets=False):
        args = ["Xvfb", "-screen", "0", f"{size[0]}x{size[1]}x24", "-nolisten", "tcp"]
        if not resets:  # else each probe of ours that leaves as the last client resets it
            args.append("-noreset")
        self.env, self.manager = {"PATH": os.environ["PATH"], "HOME": work}, None
        if cookie:  # the server takes every cookie in its file, whatever display it names
            self.env["XAUTHORITY"] = os.path.join(work, "cookies")
            args += ["-auth", self.env["XAUTHORITY"]]
            self.run("xauth", "add", ":0", ".", cookie)
        if fixed_displays:
            self.number = fixed_displays.pop(0)
            self.server = subprocess.Popen(args + [":" + self.number], stderr=subprocess.DEVNULL)
        else:
            read, write = os.pipe()
            self.server = subprocess.Popen(args + ["-displayfd", str(write)], pass_fds=[write],
                                           stderr=subprocess.DEVNULL)
            os.close(write)
            with os.fdopen(read) as answer:
                self.number = answer.readline().strip()
        self.display = self.env["DISPLAY"] = ":" + self.number
        if cookie:
            self.run("xauth", "add", self.display, ".", cookie)
        try:
            poll(lambda: self.alive() and self.run("xdpyinfo").returncode == 0, "Xvfb")
            if window_manager:
                self.manager = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                                stderr=subprocess.DEVNULL)
                poll(lambda: self.alive() and "(WINDOW)" in self.run(
                    "xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout, "openbox")
        except AssertionError:
            self.close()
            raise

    def alive(self):
        for process in (self.server, self.manager):
            if process and process.poll() is not None:
                raise AssertionError(f"{process.args[0]} on {self.display} ended")
        return True

    def run(self, *command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True)

    def close(self):
        for process in (self.manager, self.server):
            if process:
                process.terminate()
                process.wait()


class Program:
    """One run; standard error goes to a file of its own unless given."""

    def __init__(self, case, env=None, args=(), stderr=None, shell_prefix="", x=None):
        self.x = x or case.x
        self.error_path = os.path.join(case.work, f"stderr{len(case.programs)}")
        environment = {**case.env, "DISPLAY": self.x.display, **(env or {})}
        command = ["/bin/sh", "-c", shell_prefix + ' exec "$0" "$@"', PROGRAM, *args]
        with open(self.error_path, "w") as error_file:
            self.process = subprocess.Popen(
                command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=error_file if stderr is None else stderr,
                env={k: v for k, v in environment.items() if v is not None},
                preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_CORE, (0, 0)))
        case.programs.append(self)

    def errors(self):
        with open(self.error_path) as error_file:
            return error_file.read().splitlines()

    def status(self):
        code = self.process.poll()
        return code if code is None or code >= 0 else 128 - code

    def windows(self, count=1):
        if self.process.poll() is not None:
            raise AssertionError(f"the program ended: status {self.status()}, {self.errors()}")
        found = self.x.run("xdotool", "search", "--onlyvisible", "--pid",
                           str(self.process.pid)).stdout.split()
        return found if len(found) >= count else None

    def main_window(self):
        return poll(self.windows, "the main window")[0]

    def geometry(self, window):
        """The client area on the screen: x, y, width, height."""
        lines = dict(line.strip().partition(":")[::2] for line in
                     self.x.run("xwininfo", "-id", window).stdout.splitlines())
        return [int(lines[name]) for name in
                ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]

    def press_about(self):
        main = self.main_window()
        poll(lambda: self.x.run("xdotool", "mousemove", "--window", main, *ABOUT_BUTTON,
                                "click", "1").returncode == 0 and self.windows(2),
             "the About window")

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait()


class Case:
    def __init__(self, work, x):
        self.work, self.x, self.programs = work, x, []
        self.no_browser = os.path.join(work, "empty-path")
        runtime = os.path.join(work, "runtime")
        for folder in (self.no_browser, runtime):
            os.makedirs(folder, mode=0o700, exist_ok=True)
        self.env = dict(x.env, XDG_RUNTIME_DIR=runtime, PATH=self.no_browser, LANG="C.UTF-8")


def closed_standard_error(case):
    """Descriptor 2 closed, with and without a runtime folder: the window opens, and a
    browser that cannot start leaves the program running."""
    for runtime in (None, case.env["XDG_RUNTIME_DIR"]):
        Program(case, env={"XDG_RUNTIME_DIR": runtime}, shell_prefix="exec 2>&-;").press_about()


def broken_standard_error(case):
    """Standard error a pipe whose reader has gone: the failure report does not kill it."""
    read, write = os.pipe()
    os.close(read)
    program = Program(case, stderr=write)
    os.close(write)
    program.press_about()


def arguments_ignored(case):
    """Qt's own options do not reach Qt: the window opens at its size, on the screen."""
    program = Program(case, args=["-platform", "bogus", "-display", ":999", "-geometry",
                                  "10x10+5000+5000", "-reverse", "-style", "windows"])
    x, y, width, height = program.geometry(program.main_window())
    assert (width, height) == MAIN_SIZE and 0 <= x <= 1280 - width and 0 <= y <= 1024 - height, \
        (x, y, width, height)


def failing_displays(case):
    """A platform plugin that is missing or cannot start, a screen the server lacks and a
    refused connection each end with the program's own line and status 1."""
    refusing = XServer(case.work, (320, 240), window_manager=False, cookie=os.urandom(16).hex())
    runs = {"no such plugin": {"QT_QPA_PLATFORM": "bogus"},
            "a plugin without its device": {"QT_QPA_PLATFORM": "linuxfb:fb=/nonexistent/fb0"},
            "no such screen": {"DISPLAY": case.x.display + ".5"},
            "refused": {"DISPLAY": refusing.display, "XAUTHORITY": case.work + "/no-cookie"}}
    failures = []
    try:
        for what, env in runs.items():
            program = Program(case, env=env)
            poll(lambda: program.status() is not None, "the program to end")
            lines = program.errors()
            if program.status() != 1 or len(lines) != 1 or not lines[0].startswith("avodevivu: "):
                failures.append(f"{what}: status {program.status()}, {lines}")
    finally:
        refusing.close()
    assert not failures, "; ".join(failures)


def unusable_scale_factors(case):
    """A scale factor that leaves no usable window is dropped with one line: 100 %."""
    for factor in ("0", "1e9", "nan", "-1", "8"):
        program = Program(case, env={"QT_SCALE_FACTOR": factor})
        size = program.geometry(program.main_window())[2:]
        lines = program.errors()
        assert tuple(size) == MAIN_SIZE and len(lines) == 1 and "QT_SCALE_FACTOR" in lines[0], \
            (factor, size, lines)


def title_bar_on_small_screen(case):
    """On a 640 x 480 screen the main window's frame, title bar included, starts on it."""
    small = XServer(case.work, (640, 480))
    try:
        program = Program(case, x=small)
        window = program.main_window()

        def frame_top():
            extents = small.run("xprop", "-id", window, "_NET_FRAME_EXTENTS").stdout
            if "=" in extents:
                return program.geometry(window)[1] - int(extents.split(",")[2])

        try:
            poll(lambda: (top := frame_top()) is not None and top >= 0, "the title bar", 10)
        except AssertionError:
            raise AssertionError(f"the frame's top is at y = {frame_top()}")
        finally:
            program.stop()
    finally:
        small.close()


def only_client_of_a_bare_server(case):
    """The program as the only client of an X server that resets itself when its last client
    leaves (no window manager, no -noreset), started just after another client (xdpyinfo)
    left: the window opens, every time."""
    for _ in range(8):
        bare = XServer(case.work, (1280, 1024), window_manager=False, resets=True)
        try:
            Program(case, x=bare).main_window()
        finally:
            for program in case.programs:
                program.stop()
            bare.close()


def failure_line_names_the_opener(case):
    """A browser start that fails names the xdg-open tried and why."""
    opener = os.path.join(case.work, "not-allowed", "xdg-open")
    os.makedirs(os.path.dirname(opener), exist_ok=True)
    with open(opener, "w") as script:
        script.write("#!/bin/sh\n")
    os.chmod(opener, 0o644)
    for named, reason in ((opener, "permission denied"), ("xdg-open", "not found")):
        program = Program(case, env={"PATH": os.path.dirname(opener) if named == opener
                                     else case.no_browser})
        program.press_about()
        lines = poll(program.errors, "the failure line")
        assert len(lines) == 1 and "explorer.exe" not in lines[0] and \
            f": {named} (Process) StartProcess failed: {reason}" in lines[0], lines


CASES = [closed_standard_error, broken_standard_error, arguments_ignored, failing_displays,
         unusable_scale_factors, title_bar_on_small_screen, only_client_of_a_bare_server,
         failure_line_names_the_opener]


def main():
    global PROGRAM
    PROGRAM = os.path.realpath(sys.argv[1])
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        x = XServer(work, (1280, 1024))
        try:
            for run in [c for c in CASES if len(sys.argv) < 3 or c.__name__ in sys.argv[2:]]:
                case = Case(work, x)
                try:
                    run(case)
                    print(f"PASS {run.__name__}", flush=True)
                except Exception as error:  # a broken case must not leave servers behind
                    failures += 1
                    print(f"FAIL {run.__name__}: {error!r}", flush=True)
                finally:
                    for program in case.programs:
                        program.stop()
        finally:
            x.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
