"""Drives the running program through the accessibility bus, as a screen reader would:
finds the picture buttons by name, selects a row of the command list, presses "Göster" and
reads the alias and description back from the output boxes named by their headings.
Run by run_atspi.sh, which starts a session bus, the AT-SPI bus and the program."""
import sys
import time

import pyatspi

EXPECTED_ALIAS = " Co "
EXPECTED_DESCRIPTION = " Objeleri kopyalamayi saglayan komuttur. "


def find_application(name, timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
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
    raise SystemExit(f"no {pyatspi.Role(role)} named {name!r}")


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def main():
    app = find_application(sys.argv[1] if len(sys.argv) > 1 else "avodevivu")
    buttons = {name: find(app, pyatspi.ROLE_PUSH_BUTTON, name) for name in ("Göster", "Hakkında", "Çıkış")}
    command_list = find(app, pyatspi.ROLE_LIST)
    rows = [child.name for child in command_list]
    assert len(rows) == 49 and rows[0] == "Line" and rows[-1] == "Ctrl+O", rows
    alias_box = find(app, pyatspi.ROLE_LABEL, "KISAYOL") if any(
        n.getRole() == pyatspi.ROLE_LABEL and n.name == "KISAYOL" for n in walk(app)) else None
    print("buttons found by name:", ", ".join(buttons))

    command_list.querySelection().selectChild(2)
    time.sleep(0.3)
    buttons["Göster"].queryAction().doAction(0)
    time.sleep(0.5)

    outputs = [n for n in walk(app) if n.name in ("KISAYOL", "İŞLEVİ")]
    texts = {}
    for node in outputs:
        try:
            texts.setdefault(node.name, []).append(text_of(node))
        except NotImplementedError:
            pass
    print("output boxes:", texts)
    assert EXPECTED_ALIAS in texts.get("KISAYOL", []), texts
    assert EXPECTED_DESCRIPTION in texts.get("İŞLEVİ", []), texts
    del alias_box
    print("AT-SPI check passed")


if __name__ == "__main__":
    main()
