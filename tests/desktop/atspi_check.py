"""Drives the running program through the accessibility bus, as a screen reader would:
finds the picture buttons by name, selects a row of the command list, presses "Göster" and
reads the alias and description back from the output boxes named by their headings.
Run by run_atspi.sh, which starts a session bus, the AT-SPI bus and the program."""
import sys
import time

import pyatspi

ROW = 2
EXPECTED = {"KISAYOL": " Co ", "İŞLEVİ": " Objeleri kopyalamayi saglayan komuttur. "}


def find_application(name, timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    raise SystemExit(f"no application '{name}' on the accessibility bus")


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def find(app, role, name=None):
    for node in walk(app):
        if node.getRole() == role and (name is None or node.name == name):
            return node
    raise SystemExit(f"no {role} named {name!r}")


def output_boxes(app):
    """The output boxes: labels named by a heading that carry their text as description."""
    return {node.name: node.description for node in walk(app)
            if node.getRole() == pyatspi.ROLE_LABEL and node.name in EXPECTED and node.description}


def main():
    app = find_application(sys.argv[1] if len(sys.argv) > 1 else "avodevivu")
    buttons = {name: find(app, pyatspi.ROLE_PUSH_BUTTON, name) for name in ("Göster", "Hakkında", "Çıkış")}
    command_list = find(app, pyatspi.ROLE_LIST, "Komutlar")
    rows = [child.name for child in command_list]
    assert len(rows) == 49 and rows[0] == "Line" and rows[-1] == "Ctrl+O", rows
    print("buttons found by name:", ", ".join(buttons), "| list rows:", len(rows))

    command_list[ROW].queryAction().doAction(0)  # select the row
    time.sleep(0.3)
    assert command_list[ROW].getState().contains(pyatspi.STATE_SELECTED), "row not selected"
    assert output_boxes(app) == {}, "the boxes changed before the show button was pressed"
    buttons["Göster"].queryAction().doAction(0)
    time.sleep(0.5)

    boxes = output_boxes(app)
    print("output boxes:", boxes)
    assert boxes == EXPECTED, boxes
    print("AT-SPI check passed")


if __name__ == "__main__":
    main()
