#!/usr/bin/python3
"""The real program started as launchers, scripts and sessions may start it.

Usage: hostile_starts.py PATH/TO/avodevivu [CASE...]

Each case starts the program on private Xvfb servers (with openbox where a window manager
matters) and checks that it either shows its main window and stays usable, or ends with its
own one line and status 1. AVO_TEST_DISPLAYS="N M K" gives the display numbers to use;
without it each X server picks a free one.
"""

import os
import resource
import signal
import subprocess
import sys
import tempfile
import time

LIMIT = 30  # seconds: generous, the machine may be busy
ABOUT_BUTTON = (256, 356)  # Command2's centre in the main window's client area
MAIN_SIZE = (649, 471)
free_displays = os.environ.get("AVO_TEST_DISPLAYS", "").split()


def poll(condition, what, limit=LIMIT):
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"timed out waiting for {what}")


class XServer:
    def __init__(self, work, width, height, window_manager=True, cookie=False):
        self.work = work
        args = ["Xvfb", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"]
        self.env = {"PATH": os.environ["PATH"], "HOME": work}
        self.cookie = os.urandom(16).hex() if cookie else None
        if cookie:  # the server takes every cookie in its file, whatever display it names
            self.env["XAUTHORITY"] = os.path.join(work, f"cookie{width}")
            args += ["-auth", self.env["XAUTHORITY"]]
            self.run(["xauth", "-q", "add", ":0", ".", self.cookie])
        if free_displays:
            self.number = free_displays.pop(0)
            self.server = subprocess.Popen([args[0], ":" + self.number] + args[1:],
                                           stderr=subprocess.DEVNULL)
        else:
            read, write = os.pipe()
            self.server = subprocess.Popen(args + ["-displayfd", str(write)], pass_fds=[write],
                                           stderr=subprocess.DEVNULL)
            os.close(write)
            with os.fdopen(read) as answer:
                self.number = answer.readline().strip()
        self.display = ":" + self.number
        self.env["DISPLAY"] = self.display
        if cookie:
            self.run(["xauth", "-q", "add", self.display, ".", self.cookie])
        self.manager = None
        try:
            poll(lambda: self.alive() and self.run(["xdpyinfo"]).returncode == 0,
                 "Xvfb " + self.display)
            if window_manager:
                log = open(os.path.join(work, f"openbox{self.number}.log"), "w")
                self.manager = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                                stdout=log, stderr=log)
                poll(lambda: self.manager_alive(log.name) and "(WINDOW)" in self.output(
                    ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]), "openbox")
        except AssertionError:
            self.close()
            raise

    def manager_alive(self, log):
        if self.alive() and self.manager.poll() is not None:
            with open(log) as text:
                raise AssertionError(f"openbox ended: {text.read()}")
        return True

    def alive(self):
        if self.server.poll() is not None:
            raise AssertionError(f"Xvfb {self.display} ended (display in use?)")
        return True

    def run(self, command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True)

    def output(self, command):
        return self.run(command).stdout

    def close(self):
        for process in (self.manager, self.server):
            if process:
                process.terminate()
                process.wait()


class Program:
    """One run of the program; standard error goes to a file unless given."""

    def __init__(self, case, env=None, args=(), stderr=None, shell_prefix=None, x=None):
        self.case, self.x = case, x or case.x
        self.error_path = os.path.join(case.work, f"stderr{len(case.programs)}")
        environment = dict(case.base_env, DISPLAY=self.x.display)
        environment.update(env or {})
        environment = {k: v for k, v in environment.items() if v is not None}
        command = [PROGRAM, *args]
        if shell_prefix:  # a shell that rearranges the descriptors, then execs the program
            command = ["/bin/sh", "-c", shell_prefix + ' exec "$0" "$@"', *command]
        with open(self.error_path, "w") as error_file:
            self.process = subprocess.Popen(
                command, env=environment, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=error_file if stderr is None else stderr,
                preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_CORE, (0, 0)))
        case.programs.append(self)

    def errors(self):
        with open(self.error_path) as error_file:
            return error_file.read().splitlines()

    def windows(self):
        if self.process.poll() is not None:
            raise AssertionError(f"the program ended with status {self.status()}"
                                 f" {self.errors()}")
        found = self.x.output(["xdotool", "search", "--onlyvisible", "--pid",
                                    str(self.process.pid)]).split()
        return found

    def wait_for_windows(self, count, what):
        return poll(lambda: len(self.windows()) >= count and self.windows(), what)

    def geometry(self, window):
        """The client area on the screen (xdotool's position counts the frame in)."""
        fields = {"Absolute upper-left X": "X", "Absolute upper-left Y": "Y",
                  "Width": "WIDTH", "Height": "HEIGHT"}
        geometry = {}
        for line in self.x.output(["xwininfo", "-id", window]).splitlines():
            name, _, value = line.strip().partition(":")
            if name in fields:
                geometry[fields[name]] = int(value)
        return geometry

    def press_about(self):
        main = self.wait_for_windows(1, "the main window")[0]
        poll(lambda: self.x.run(["xdotool", "mousemove", "--window", main,
                                      *map(str, ABOUT_BUTTON), "click", "1"]).returncode == 0
             and len(self.windows()) >= 2, "the About window", limit=LIMIT)

    def ended(self):
        return poll(lambda: self.process.poll() is not None, "the program to end")

    def status(self):
        code = self.process.returncode
        return code if code is None or code >= 0 else 128 - code

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            self.process.wait()


class Case:
    def __init__(self, work, x):
        self.work, self.x, self.programs = work, x, []
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.no_browser = os.path.join(work, "empty-path")
        os.makedirs(self.no_browser, exist_ok=True)
        self.base_env = dict(x.env, XDG_RUNTIME_DIR=runtime, PATH=self.no_browser,
                             LANG="C.UTF-8")


def expect_own_line_and_status_1(program, what):
    program.ended()
    lines = program.errors()
    assert program.status() == 1 and len(lines) == 1 and lines[0].startswith("avodevivu: "), \
        f"{what}: status {program.status()}, standard error {lines}"


def closed_standard_error(case):
    """Started with descriptor 2 closed, with and without a runtime folder: the window
    opens and a failed browser start leaves the program running."""
    for runtime in (None, case.base_env["XDG_RUNTIME_DIR"]):
        program = Program(case, env={"XDG_RUNTIME_DIR": runtime}, shell_prefix="exec 2>&-;")
        program.press_about()
        program.stop()


def broken_standard_error(case):
    """Standard error a pipe whose reader has gone: the failure report does not kill it."""
    read, write = os.pipe()
    os.close(read)
    program = Program(case, stderr=write)
    os.close(write)
    program.press_about()
    program.stop()


def arguments_ignored(case):
    """Qt's own options do not reach Qt: the window opens at its size, on the screen."""
    program = Program(case, args=["-platform", "bogus", "-display", ":999", "-geometry",
                                  "10x10+5000+5000", "-reverse", "-style", "windows"])
    window = program.wait_for_windows(1, "the main window")[0]
    geometry = program.geometry(window)
    assert (geometry["WIDTH"], geometry["HEIGHT"]) == MAIN_SIZE, geometry
    assert 0 <= geometry["X"] <= 1280 - MAIN_SIZE[0], geometry
    assert 0 <= geometry["Y"] <= 1024 - MAIN_SIZE[1], geometry
    program.stop()


def failing_displays(case):
    """A missing platform plugin, one that cannot start, a screen the server lacks and a
    refused connection each end with the program's own line and status 1, never an abort
    or a crash."""
    refusing = XServer(case.work, 320, 240, window_manager=False, cookie=True)
    try:
        runs = {
            "no such platform plugin": {"QT_QPA_PLATFORM": "bogus"},
            "a plugin without its device": {"QT_QPA_PLATFORM": "linuxfb:fb=/nonexistent/fb0"},
            "no such screen": {"DISPLAY": case.x.display + ".5"},
            "connection refused": {"DISPLAY": refusing.display,
                                   "XAUTHORITY": os.path.join(case.work, "no-cookie")},
        }
        failures = []
        for what, env in runs.items():
            try:
                expect_own_line_and_status_1(Program(case, env=env), what)
            except AssertionError as error:
                failures.append(str(error))
        assert not failures, "; ".join(failures)
    finally:
        refusing.close()


def unusable_scale_factors(case):
    """A session's scale factor that leaves no usable window is dropped with one line: the
    window opens at 100 %."""
    for factor in ("0", "1e9", "nan", "-1", "8"):
        program = Program(case, env={"QT_SCALE_FACTOR": factor})
        window = program.wait_for_windows(1, f"the main window at QT_SCALE_FACTOR={factor}")[0]
        geometry = program.geometry(window)
        lines = program.errors()
        program.stop()
        assert (geometry["WIDTH"], geometry["HEIGHT"]) == MAIN_SIZE, (factor, geometry)
        assert len(lines) == 1 and "QT_SCALE_FACTOR" in lines[0], (factor, lines)


def title_bar_on_small_screen(case):
    """On a 640 x 480 screen the main window's frame, title bar included, starts on it."""
    small = XServer(case.work, 640, 480)
    try:
        program = Program(case, x=small)
        window = program.wait_for_windows(1, "the main window")[0]

        def frame_top():
            extents = small.output(["xprop", "-id", window, "_NET_FRAME_EXTENTS"])
            if "=" not in extents:
                return None
            return program.geometry(window)["Y"] - int(extents.split("=")[1].split(",")[2])

        try:
            poll(lambda: (top := frame_top()) is not None and top >= 0,
                 "the title bar to lie on the screen", limit=10)
        except AssertionError:
            raise AssertionError(f"the frame's top is at y = {frame_top()}")
        finally:
            program.stop()
    finally:
        small.close()


def failure_line_names_the_opener(case):
    """A browser start that fails names xdg-open and why: a file that may not be run, or
    none at all."""
    opener_folder = os.path.join(case.work, "not-allowed")
    os.makedirs(opener_folder, exist_ok=True)
    opener = os.path.join(opener_folder, "xdg-open")
    with open(opener, "w") as script:
        script.write("#!/bin/sh\nexit 0\n")
    os.chmod(opener, 0o644)
    for path, reason, named in ((opener_folder, "permission denied", opener),
                                (case.no_browser, "not found", "xdg-open")):
        program = Program(case, env={"PATH": path})
        program.press_about()
        lines = poll(program.errors, "the failure line")
        program.stop()
        assert len(lines) == 1 and f": {named} (Process) StartProcess failed: {reason}" in \
            lines[0] and "explorer.exe" not in lines[0], lines


CASES = [closed_standard_error, broken_standard_error, arguments_ignored, failing_displays,
         unusable_scale_factors, title_bar_on_small_screen, failure_line_names_the_opener]


def main():
    global PROGRAM
    PROGRAM = os.path.realpath(sys.argv[1])
    chosen = [c for c in CASES if len(sys.argv) < 3 or c.__name__ in sys.argv[2:]]
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        x = XServer(work, 1280, 1024)
        try:
            for case_function in chosen:
                case = Case(work, x)
                try:
                    case_function(case)
                    print(f"PASS {case_function.__name__}")
                except AssertionError as error:
                    failures += 1
                    print(f"FAIL {case_function.__name__}: {error}")
                finally:
                    for program in case.programs:
                        program.stop()
        finally:
            x.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
