"""What both accessibility walks share: start a program with Qt's accessibility on, find it on
the AT-SPI bus, read its tree, press its controls, and collect failures instead of stopping at
the first one."""
import os
import subprocess
import sys
import time

try:
    import pyatspi
except ImportError:
    print("python3-pyatspi is not installed")
    sys.exit(77)

failures = []


def start(arguments, env=None, **popen):
    env = dict(os.environ, **(env or {}), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1")
    return subprocess.Popen(arguments, env=env, **popen)


def find_app(name):
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            child = desktop.getChildAtIndex(i)
            if child is not None and name in (child.name or ""):
                return child
        time.sleep(0.1)
    print("the program never appeared on the accessibility bus")
    sys.exit(1)


def walk(node, showing_only=False, found=None):
    """Every node under this one; with showing_only, hidden widgets (spare rows, folded bars)
    and what is under them are left out."""
    found = [] if found is None else found
    try:
        if showing_only and not node.getState().contains(pyatspi.STATE_SHOWING) and \
                node.getRole() not in (pyatspi.ROLE_APPLICATION, pyatspi.ROLE_FRAME):
            return found
        found.append(node)
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                walk(child, showing_only, found)
    except Exception:
        pass
    return found


def press(node, settle=0.0):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            time.sleep(settle)
            return
    raise AssertionError("no press action on " + node.name)


def eventually(find, timeout=5.0):
    """What find() returns once it is something: animations and a busy machine make a fixed
    wait either slow or flaky."""
    deadline = time.monotonic() + timeout
    found = find()
    while not found and time.monotonic() < deadline:
        time.sleep(0.2)
        found = find()
    return found


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def stop(process):
    process.terminate()
    process.wait(timeout=10)


def report(what):
    """Reached only when the walk ran to its end: an exception on the way fails the test too."""
    print("%s: %d failures" % (what, len(failures)))
    sys.exit(1 if failures else 0)
