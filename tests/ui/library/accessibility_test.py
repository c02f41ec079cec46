#!/usr/bin/python3
"""Walks the content library as a screen reader does (AT-SPI): every row, action, field and
button on the shelf, a category and "Yours" is named, and pressing them works.

Usage: accessibility_test.py PROGRAM   (PROGRAM --show shows the library)
Needs a display, a session bus and at-spi2-core; skips (exit 77) without them.
"""
import os
import re
import subprocess
import sys
import time

from atspi import check, eventually, find_app, pyatspi, report, start, stop, walk
from atspi import press as press_now

process = start([sys.argv[1], "--show"], stdout=subprocess.DEVNULL)


def shown(app):
    """What is on screen now: hidden widgets (spare rows, folded bars) are left out."""
    return walk(app, showing_only=True)


def buttons(app):
    return {n.name: n for n in shown(app) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON}


def button_matching(app, pattern):
    for name, node in buttons(app).items():
        if re.fullmatch(pattern, name or ""):
            return node
    return None


def press(node):
    press_now(node, settle=0.6)  # past any animation


def scroll_to_end(app):
    """The set-aside section ends the list: scroll there, as a reader's user would."""
    for node in shown(app):
        if node.getRole() == pyatspi.ROLE_SCROLL_BAR:
            value = node.queryValue()
            value.currentValue = value.maximumValue
    time.sleep(0.3)


def focus_row(app, name):
    """Gives the keyboard to the row with this name, whose action bar comes out, and returns
    that bar's buttons: a row under the pointer shows the same actions for another prompt."""
    for node in shown(app):
        if node.name == name and node.getRole() != pyatspi.ROLE_PUSH_BUTTON:
            node.queryComponent().grabFocus()
            time.sleep(0.6)
            return {n.name: n for n in walk(node, showing_only=True)
                    if n.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    return None


try:
    app = find_app(os.path.basename(sys.argv[1]))
    time.sleep(0.5)

    # The shelf: each row says its name and counts; export and import are named.
    rows = {name.split(",")[0]: node for name, node in buttons(app).items()
            if re.fullmatch(r"\w+, \d+ prompts?(, \d+ favorites?)?", name or "")}
    check(set(rows) == {"Questions", "Poems", "Body", "Yours"}, "shelf rows: %s" % sorted(rows))
    check({"Export", "Import"} <= set(buttons(app)), "export and import buttons")

    # A category: the back button, the rows by their text, a row's actions once it has focus.
    press(rows["Questions"])
    check("Back to your library" in buttons(app), "the back button is named")
    first = None
    for node in shown(app):
        if node.getRole() not in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_SCROLL_BAR) and \
                node.name and node.name.endswith("?"):
            first = node.name
            break
    check(first is not None, "the prompt rows are named by their text")
    if first:
        actions = focus_row(app, first) or {}
        check(bool(actions), "the first row takes the focus and shows its actions")
        # The actions' names and order are LibraryScreenTest's; here, that a reader reaches them.
        check("Set this prompt aside" in actions, "a starter row's actions: %s" % sorted(actions))
        press(actions["Set this prompt aside"])
        header = eventually(lambda: scroll_to_end(app) or button_matching(app, r"\d+ set aside"))
        check(header is not None, "the set-aside header is named by its count")
        if header:
            press(header)
            restore = "Restore " + first.split(" \u2014 ")[0]
            # The opened list grows below what was shown.
            button = eventually(lambda: scroll_to_end(app) or buttons(app).get(restore))
            check(button is not None, "the prompt just set aside can be restored by name")
            if button is not None:
                press(button)
                check(restore not in buttons(app), "restoring takes it out of the set-aside list")
    press(buttons(app)["Back to your library"])

    # "Yours": the new-prompt field, a row of the user's own, its inline editor.
    yours = eventually(lambda: button_matching(app, r"Yours, \d+ prompts?(, \d+ favorites?)?"))
    press(yours)
    fields = {n.name for n in shown(app) if n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)}
    check("Add something you love..." in fields, "the new-prompt field: %s" % sorted(fields))
    actions = focus_row(app, "Morning light on the kitchen table") or {}
    check(bool(actions), "a row of the user's own takes the focus and shows its actions")
    check("Edit this prompt" in actions, "the user's row actions: %s" % sorted(actions))
    press(actions["Edit this prompt"])
    fields = {n.name for n in shown(app) if n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)}
    check({"Prompt text", "Attribution (optional)"} <= fields, "editor fields: %s" % sorted(fields))
    check({"Save", "Cancel"} <= set(buttons(app)), "editor buttons")
    press(buttons(app)["Cancel"])
    check("Save" not in buttons(app), "Cancel closes the editor")
finally:
    stop(process)
report("library accessibility")
