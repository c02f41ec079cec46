#!/usr/bin/python3
"""What a user does in one running Velmor's window, found by its process id on the accessibility
bus (several Velmors share it):

  sync_window.py PID aside N   sets the N-th question prompt aside; prints its text
  sync_window.py PID status    prints what the general screen's sync block says, line by line
"""
import os
import re
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi import eventually, press, pyatspi, walk  # noqa: E402


def app_of(pid):
    def find():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            child = desktop.getChildAtIndex(i)
            try:
                if child is not None and child.get_process_id() == pid:
                    return child
            except Exception:
                pass
        return None
    app = eventually(find, timeout=15)
    if app is None:
        sys.exit("Velmor %d never appeared on the accessibility bus" % pid)
    return app


def shown(app):
    return walk(app, showing_only=True)


def named(app, role, pattern):
    return eventually(lambda: next((n for n in shown(app) if n.getRole() == role
                                    and re.fullmatch(pattern, n.name or "")), None))


def section(app, name):
    tab = named(app, pyatspi.ROLE_PAGE_TAB, re.escape(name))
    if tab is None:
        sys.exit("no %s section" % name)
    press(tab, settle=0.6)


def aside(app, index):
    section(app, "Content")
    questions = named(app, pyatspi.ROLE_PUSH_BUTTON, r"Questions, \d+ prompts?.*")
    if questions is None:
        sys.exit("no Questions row")
    press(questions, settle=0.8)
    rows = eventually(lambda: [n for n in shown(app) if n.name and n.name.endswith("?")
                               and n.getRole() not in (pyatspi.ROLE_PUSH_BUTTON,
                                                       pyatspi.ROLE_SCROLL_BAR)])
    if not rows or len(rows) <= index:
        sys.exit("no question row %d" % index)
    row = rows[index]
    row.queryComponent().grabFocus()
    button = eventually(lambda: next((n for n in walk(row, showing_only=True)
                                      if n.name == "Set this prompt aside"), None))
    if button is None:
        sys.exit("the row's actions never showed")
    press(button, settle=0.3)
    print(row.name)
    back = named(app, pyatspi.ROLE_PUSH_BUTTON, "Back to your library")
    if back is not None:
        press(back, settle=0.3)


def status(app):
    section(app, "General")
    # The block's texts: the caption "Sync" and what follows it, up to the buttons.
    texts = [n.name for n in shown(app) if n.getRole() in (pyatspi.ROLE_STATIC, pyatspi.ROLE_LABEL)
             and n.name]
    if "Sync" not in texts:
        sys.exit("no sync block on the general screen")
    for line in texts[texts.index("Sync") + 1:]:
        print(line)


def main():
    pid, action = int(sys.argv[1]), sys.argv[2]
    app = app_of(pid)
    if action == "aside":
        aside(app, int(sys.argv[3]))
    elif action == "status":
        status(app)
    else:
        sys.exit("unknown action " + action)


main()
