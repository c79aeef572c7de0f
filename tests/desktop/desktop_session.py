"""What the desktop checks share: waiting with generous limits, helpers that end with the
check, and finding and walking the program on the accessibility bus."""
import ctypes
import signal
import time

LIMIT = 30.0  # seconds: generous, the machine may be busy


def poll(condition, what, limit=LIMIT, interval=0.05):
    """Asks condition until it gives a true value, which it returns. A busy machine answers
    late, not never; a condition may raise to give up at once."""
    deadline = time.monotonic() + limit
    while True:
        if value := condition():
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(interval)


def dies_with_this_script():
    """Run in a child before exec: the kernel ends it when this script dies, however it dies
    (a test time-out kills the script without running its clean-up)."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def accessible_application(name="avodevivu", limit=60.0):
    """The program's root on the accessibility bus, once it is there."""
    import pyatspi

    def found():
        return next((app for app in pyatspi.Registry.getDesktop(0)
                     if app is not None and app.name == name), None)
    return poll(found, f"application '{name}' on the accessibility bus", limit)


def walk(node):
    """The node and everything below it, depth first."""
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)
