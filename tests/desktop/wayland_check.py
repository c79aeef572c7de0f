"""Starts the program in a Wayland session as a desktop would start it, under a private
headless weston: with only WAYLAND_DISPLAY (and, with --xwayland, DISPLAY) set and no
QT_QPA_PLATFORM. Presses its buttons through the accessibility bus, as a screen reader
would, and looks at the compositor's screenshots.

  --xwayland  the main window is centred on the screen, the About window over it
  --native    (no XWayland) both windows come up, the main window's title bar is the
              program's own, with a minimise box and a close box and no maximise box, and the
              exit button ends the program with status 0

Run inside dbus-run-session by run_wayland.sh. Exits 77 (skipped) when weston, Xwayland or
Qt's Wayland plugin is missing. AVO_WAYLAND_SOCKET names the compositor's socket."""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

from PIL import Image, ImageChops

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_session import accessible_application, dies_with_this_script, poll, walk  # noqa: E402

SCREEN = (1280, 1024)
BACKGROUND = (0x33, 0x66, 0x99)
MAIN_SIZE = (649, 471)   # client area
# What is measured is the window with the compositor's frame, title bar and shadow around
# it, which are thicker at the top and bottom than at the sides. A window that the compositor
# placed itself sits hundreds of pixels off.
TOLERANCE = (16, 32)


def skip(reason):
    print(f"SKIPPED: {reason}")
    sys.exit(77)


class Weston:
    def __init__(self, runtime, socket, xwayland):
        self.runtime, self.socket = runtime, socket
        config = os.path.join(runtime, "weston.ini")
        with open(config, "w") as ini:
            ini.write("[shell]\nbackground-color=0xff%02x%02x%02x\npanel-position=none\n"
                      "locking=false\n" % BACKGROUND)
        self.log = os.path.join(runtime, "weston.log")
        # --debug lets weston-screenshooter take pictures; --idle-time=0 keeps the screen on.
        command = ["weston", "--backend=headless-backend.so", "--use-pixman",
                   f"--width={SCREEN[0]}", f"--height={SCREEN[1]}", "--idle-time=0",
                   f"--socket={socket}", f"--config={config}", f"--log={self.log}", "--debug"]
        if xwayland:
            command.append("--xwayland")
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        self.process = subprocess.Popen(command, env=env, cwd=runtime,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        preexec_fn=dies_with_this_script)
        poll(lambda: os.path.exists(os.path.join(runtime, socket)) or self.ended(),
             "the compositor's socket", interval=0.2)

    def ended(self):
        if self.process.poll() is not None:
            raise SystemExit(f"weston ended with status {self.process.returncode}:\n"
                             + open(self.log).read())
        return False

    def x_display(self):
        def found():
            match = re.search(r"xserver listening on display (:\d+)", open(self.log).read())
            return match.group(1) if match else None
        return poll(found, "XWayland's display", interval=0.2)

    def screenshot(self):
        for old in glob.glob(os.path.join(self.runtime, "wayland-screenshot-*.png")):
            os.remove(old)
        subprocess.run(["weston-screenshooter"], cwd=self.runtime, timeout=20, check=True,
                       env=dict(os.environ, XDG_RUNTIME_DIR=self.runtime,
                                WAYLAND_DISPLAY=self.socket))
        [path] = glob.glob(os.path.join(self.runtime, "wayland-screenshot-*.png"))
        with Image.open(path) as image:
            return image.convert("RGB")

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)


def changed_box(image, before):
    """The bounding box of the pixels that differ clearly from before."""
    difference = ImageChops.difference(image, before).convert("L")
    return difference.point(lambda v: 255 if v > 24 else 0).getbbox()


def drawn_box(image):
    """The bounding box of everything that is not the desktop's flat background."""
    return changed_box(image, Image.new("RGB", image.size, BACKGROUND))


def title_bar_boxes(image, window_box):
    """The boxes at the right end of the title bar across the top of a window drawn exactly
    as its client area plus the bar: each box's glyph is a run of columns that stand out from
    the bar's own colour, within the width that three boxes would take."""
    left, top, right, bottom = window_box
    height = bottom - top - MAIN_SIZE[1]
    band = image.crop((left, top, right, top + height))
    _, bar_colour = max(band.getcolors(band.width * band.height))
    def inked(x):
        return any(sum(abs(a - b) for a, b in zip(band.getpixel((x, y)), bar_colour)) > 120
                   for y in range(height))
    runs = []
    for x in range(band.width - 3 * height, band.width):
        if not inked(x):
            continue
        if runs and runs[-1][1] == x - 1:
            runs[-1][1] = x
        else:
            runs.append([x, x])
    return runs


def check_own_title_bar(image, window_box):
    """weston leaves title bars to its clients: the program draws its own, with no maximise
    box, in place of Qt's, and keeps the client area at its size."""
    left, top, right, bottom = window_box
    bar_height = bottom - top - MAIN_SIZE[1]
    assert right - left == MAIN_SIZE[0] and 20 <= bar_height <= 48, \
        f"the main window is not its client area under a title bar of its own: {window_box}"
    boxes = title_bar_boxes(image, window_box)
    assert len(boxes) == 2, f"the title bar shows {len(boxes)} boxes, not minimise and close: {boxes}"
    print(f"the title bar is {bar_height} pixels high, with two boxes at {boxes}")


def centre(box):
    return ((box[0] + box[2]) / 2, (box[1] + box[3]) / 2)


def near(a, b):
    return abs(a[0] - b[0]) <= TOLERANCE[0] and abs(a[1] - b[1]) <= TOLERANCE[1]


def showing_windows(app):
    import pyatspi
    return [window for window in app
            if window is not None and window.getState().contains(pyatspi.STATE_SHOWING)]


def press(window, name):
    import pyatspi
    for node in walk(window):
        if node.name == name and node.getRole() != pyatspi.ROLE_FRAME:
            try:
                node.queryAction().doAction(0)
                return
            except NotImplementedError:
                pass
    names = [(node.name, node.getRoleName()) for node in walk(window)]
    raise SystemExit(f"no button {name!r} in {window.name!r}: {names}")


def program_environment(runtime, socket, x_display):
    """What a desktop session hands a program it starts: no platform chosen for it."""
    # The About window's site launch finds a stand-in opener first: a real browser would come
    # up in the compositor and take the screen the checks read.
    opener = os.path.join(runtime, "opener")
    os.makedirs(opener, exist_ok=True)
    with open(os.path.join(opener, "xdg-open"), "w") as script:
        script.write("#!/bin/sh\nexit 0\n")
    os.chmod(os.path.join(opener, "xdg-open"), 0o755)
    path = opener + ":" + os.environ.get("PATH", "/usr/bin:/bin")
    env = {"PATH": path, "HOME": os.environ.get("HOME", "/"),
           "XDG_RUNTIME_DIR": runtime, "XDG_SESSION_TYPE": "wayland", "WAYLAND_DISPLAY": socket,
           "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "LANG": "C.UTF-8"}
    # The session bus carries the accessibility bus; WAYLAND_DEBUG=client shows the requests;
    # the sanitizers' options come from the test.
    for name in ("DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DEBUG", "ASAN_OPTIONS", "LSAN_OPTIONS",
                 "UBSAN_OPTIONS"):
        if name in os.environ:
            env[name] = os.environ[name]
    if x_display:
        env["DISPLAY"] = x_display
    return env


def check(weston, program, shots, mode):
    app = accessible_application()
    def main_window_drawn():
        box = drawn_box(weston.screenshot())
        return box if box and box[2] - box[0] >= MAIN_SIZE[0] else None
    main_box = poll(main_window_drawn, "the main window on the screen", interval=0.2)
    print(f"main window drawn at {main_box}, centre {centre(main_box)}")
    before = weston.screenshot()
    before.save(os.path.join(shots, f"wayland-{mode}-main.png"))
    if mode == "xwayland":
        screen_centre = (SCREEN[0] / 2, SCREEN[1] / 2)
        assert near(centre(main_box), screen_centre), f"main window not centred: {main_box}"
    else:
        check_own_title_bar(before, main_box)

    [main] = showing_windows(app)
    press(main, "Hakkında")
    poll(lambda: len(showing_windows(app)) == 2, "the About window", interval=0.2)
    about_box = poll(lambda: changed_box(weston.screenshot(), before),
                     "the About window on the screen", interval=0.2)
    weston.screenshot().save(os.path.join(shots, f"wayland-{mode}-about.png"))
    print(f"About window drawn at {about_box}, centre {centre(about_box)}")
    if mode == "xwayland":
        assert near(centre(about_box), centre(main_box)), f"About window not over the main window: {about_box}"

    # The exit button ends the program with the About window still open.
    press(main, "Çıkış")
    status = program.wait(timeout=15)
    assert status == 0, f"the program ended with status {status}"
    print(f"{mode}: the program started, showed both windows and ended with status 0")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("shots")
    parser.add_argument("mode", choices=("xwayland", "native"))
    options = parser.parse_args()
    if not shutil.which("weston") or not shutil.which("weston-screenshooter"):
        skip("weston is not installed (Debian: weston)")
    if options.mode == "xwayland" and not shutil.which("Xwayland"):
        skip("Xwayland is not installed (Debian: xwayland)")
    if options.mode == "native" and not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland*"):
        skip("Qt's Wayland platform plugin is not installed (Debian: qt6-wayland)")
    os.makedirs(options.shots, exist_ok=True)

    runtime = tempfile.mkdtemp(prefix="avo-wayland-")
    os.chmod(runtime, 0o700)
    socket = os.environ.get("AVO_WAYLAND_SOCKET", f"avo-wayland-{os.getpid()}")
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           preexec_fn=dies_with_this_script)
    weston = program = None
    try:
        weston = Weston(runtime, socket, options.mode == "xwayland")
        x_display = weston.x_display() if options.mode == "xwayland" else None
        program = subprocess.Popen([os.path.realpath(options.program)],
                                   env=program_environment(runtime, socket, x_display),
                                   preexec_fn=dies_with_this_script)
        check(weston, program, options.shots, options.mode)
    finally:
        if program and program.poll() is None:
            program.kill()
            program.wait()
        if weston:
            weston.stop()
        bus.terminate()
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    main()
