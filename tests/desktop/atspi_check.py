"""Drives the running program through the accessibility bus, as a screen reader would:
finds the picture buttons by name, selects a row of the command list, presses "Göster" and
reads the alias and description back from the output boxes, named by their headings, through
their text interface; then opens the About window and presses its exit picture.
Run by run_atspi.sh, which starts a session bus, the AT-SPI bus and the program."""
import os
import sys

import pyatspi

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop_session import accessible_application, poll, walk  # noqa: E402

ROW = 2
EXPECTED = {"KISAYOL": " Co ", "İŞLEVİ": " Objeleri kopyalamayi saglayan komuttur. "}
ABOUT_CAPTION = "Hakkında-Drusenkal"


def find_all(root, role, name=None):
    return [node for node in walk(root)
            if node.getRole() == role and (name is None or node.name == name)]


def find(root, role, name=None):
    found = find_all(root, role, name)
    if not found:
        raise SystemExit(f"no {role} named {name!r}")
    return found[0]


def shown_text(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        raise SystemExit(f"the output box {node.name!r} cannot be read as text") from None
    return text.getText(0, text.characterCount)


def output_boxes(app):
    """The output boxes: labels named by a heading, read through their text interface."""
    return {node.name: shown_text(node) for node in find_all(app, pyatspi.ROLE_LABEL)
            if node.name in EXPECTED and node.description}


def related(node, relation):
    return [target.name for r in node.getRelationSet() if r.getRelationType() == relation
            for target in (r.getTarget(i) for i in range(r.getNTargets()))]


def check_output_boxes(app, buttons):
    command_list = find(app, pyatspi.ROLE_LIST, "Komutlar")
    rows = [child.name for child in command_list]
    assert len(rows) == 49 and rows[0] == "Line" and rows[-1] == "Ctrl+O", rows
    print("buttons found by name:", ", ".join(buttons), "| list rows:", len(rows))

    command_list[ROW].queryAction().doAction(0)  # select the row
    poll(lambda: command_list[ROW].getState().contains(pyatspi.STATE_SELECTED),
         "the row to be selected")
    assert output_boxes(app) == {}, "the boxes changed before the show button was pressed"
    buttons["Göster"].queryAction().doAction(0)
    boxes = poll(lambda: output_boxes(app) == EXPECTED and output_boxes(app), "the output boxes' text")
    print("output boxes, read as text:", boxes)

    for heading in EXPECTED:
        box = [node for node in find_all(app, pyatspi.ROLE_LABEL, heading) if node.description][0]
        assert related(box, pyatspi.RELATION_LABELLED_BY) == [heading], related(box, pyatspi.RELATION_LABELLED_BY)
        label = [node for node in find_all(app, pyatspi.ROLE_LABEL, heading) if node != box][0]
        assert related(label, pyatspi.RELATION_LABEL_FOR) == [heading]
    print("each box is labelled by its heading")


def frames(app):
    return [frame.name for frame in app if frame is not None and frame.getRole() == pyatspi.ROLE_FRAME
            and frame.getState().contains(pyatspi.STATE_SHOWING)]


def check_exit_picture(app, buttons):
    buttons["Hakkında"].queryAction().doAction(0)
    about = poll(lambda: next((f for f in app if f is not None and f.name == ABOUT_CAPTION
                               and f.getState().contains(pyatspi.STATE_SHOWING)), None),
                 "the About window")
    exit_picture = find(about, pyatspi.ROLE_PUSH_BUTTON, "Çıkış")
    action = exit_picture.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    print("exit picture: push button, actions", names)
    action.doAction(names.index("Press"))
    poll(lambda: ABOUT_CAPTION not in frames(app), "the About window to close")
    print("the exit picture closed the About window; showing:", frames(app))
    assert len(frames(app)) == 1, "the main window is not back"


def main():
    app = accessible_application(sys.argv[1] if len(sys.argv) > 1 else "avodevivu")
    names = ("Göster", "Hakkında", "Çıkış")
    poll(lambda: all(find_all(app, pyatspi.ROLE_PUSH_BUTTON, name) for name in names),
         "the picture buttons")
    buttons = {name: find(app, pyatspi.ROLE_PUSH_BUTTON, name) for name in names}
    check_output_boxes(app, buttons)
    check_exit_picture(app, buttons)
    print("AT-SPI check passed")


if __name__ == "__main__":
    main()
