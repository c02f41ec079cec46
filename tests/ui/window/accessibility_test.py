#!/usr/bin/python3
"""Walks the main window as a screen reader does (AT-SPI) and presses its controls.

Usage: accessibility_test.py PROGRAM   (PROGRAM --show shows the window)
Needs a display, a session bus and at-spi2-core; skips (exit 77) without them.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from atspi import check, eventually, find_app, press, pyatspi, report, start, stop, walk

process = start([sys.argv[1], "--show", "light"], stdout=subprocess.PIPE, text=True)


def named(app, role, name):
    for node in walk(app):
        if node.getRole() == role and node.name == name:
            return node
    return None


def selected(node):
    return node.getState().contains(pyatspi.STATE_SELECTED)


def section_tabs(app):
    return {n.name: n for n in walk(app) if n.getRole() == pyatspi.ROLE_PAGE_TAB}


try:
    app = find_app("velmor-window-shots")
    time.sleep(0.5)
    tabs = section_tabs(app)
    check(set(tabs) >= {"Home", "Timer", "Theme", "Content", "Sound", "General", "About"},
          "every section has a row named by its title: %s" % sorted(tabs))
    status = named(app, pyatspi.ROLE_PUSH_BUTTON, "Velmor is paused. Tap to start.")
    check(status is not None, "the status widget says what a press does")

    press(tabs["Timer"])
    time.sleep(0.5)
    tabs = section_tabs(app)
    check(selected(tabs["Timer"]) and not selected(tabs["Home"]), "pressing Timer selects it")
    fixed = named(app, pyatspi.ROLE_RADIO_BUTTON, "Fixed")
    random_segment = named(app, pyatspi.ROLE_RADIO_BUTTON, "Random")
    check(fixed is not None and selected(fixed), "the Fixed segment is there and selected")
    if random_segment is not None:
        press(random_segment)
        time.sleep(0.3)
        random_segment = named(app, pyatspi.ROLE_RADIO_BUTTON, "Random")
        check(random_segment is not None and selected(random_segment),
              "pressing Random selects it")
    # Two pairs that may show the same numbers: each menu is named by what it sets.
    menus = eventually(lambda: [n.name for n in walk(app, True)
                                if n.getRole() == pyatspi.ROLE_COMBO_BOX])
    check(menus == ["Shortest interval", "unit of the shortest interval", "Longest interval",
                    "unit of the longest interval"], "the random range's menus: %s" % menus)

    press(tabs["General"])
    time.sleep(0.5)
    for label in ("System", "Light", "Dark", "This screen", "Every screen"):
        check(named(app, pyatspi.ROLE_RADIO_BUTTON, label) is not None, "segment " + label)
    for label in ("Launch Velmor at login", "Pause during calls and recordings"):
        check(named(app, pyatspi.ROLE_CHECK_BOX, label) is not None, "toggle " + label)
    check(named(app, pyatspi.ROLE_PUSH_BUTTON, "Trigger velmoring shortcut, Ctrl+Shift+G")
          is not None, "the recorder is named by what it does and its shortcut")

    # Every Tab stop is a control with a name, from the top of the window round to it again.
    stops = []
    started = time.monotonic()
    for _ in range(40):
        subprocess.run(["xdotool", "key", "Tab"], check=False)
        focused = eventually(lambda: [n for n in walk(app, True)
                                      if n.getState().contains(pyatspi.STATE_FOCUSED)], 2)
        here = (focused[-1].getRoleName(), focused[-1].name) if focused else ("nothing", "")
        if stops and here == stops[0]:
            break
        stops.append(here)
    nameless = [stop for stop in stops if not stop[1]]
    check(len(stops) > 10 and not nameless, "every Tab stop has a name: %s" % stops)
    print("walked %d stops in %.1f s" % (len(stops), time.monotonic() - started))

    press(section_tabs(app)["Sound"])
    volume = eventually(lambda: named(app, pyatspi.ROLE_SLIDER, "Volume"))
    value = volume.queryValue() if volume else None
    check(value is not None and value.maximumValue - value.minimumValue == 100 *
          value.minimumIncrement, "the volume moves 1 % a step")

    press(section_tabs(app)["Theme"])
    time.sleep(0.5)
    card = named(app, pyatspi.ROLE_PUSH_BUTTON, "Charcoal theme, Quiet dark room")
    check(card is not None and selected(card), "the charcoal card is named and selected")
finally:
    stop(process)

# The program itself, its settings folder read-only: the window says the settings were not
# saved, and what to do. Root writes anywhere unless it gives up that power first.
home = tempfile.mkdtemp()
folder = os.path.join(home, "config", "velmor")
os.makedirs(folder)
os.chmod(folder, 0o555)
os.makedirs(os.path.join(home, "runtime"), mode=0o700)
unprivileged = ["setpriv", "--bounding-set=-dac_override,-dac_read_search"] \
    if os.geteuid() == 0 else []
process = start(unprivileged + [os.path.join(os.path.dirname(sys.argv[1]), "velmor")],
                env={"HOME": home, "XDG_CONFIG_HOME": os.path.join(home, "config"),
                     "XDG_DATA_HOME": os.path.join(home, "data"),
                     "XDG_RUNTIME_DIR": os.path.join(home, "runtime")},
                stdout=subprocess.DEVNULL)
try:
    app = find_app("Velmor")
    line = eventually(lambda: [n.name for n in walk(app, True)
                               if "Settings could not be saved" in (n.name or "")], 10)
    check(line and folder in line[0], "the window names the unsaved settings: %s" % line)
finally:
    stop(process)
    shutil.rmtree(home, ignore_errors=True)
report("accessibility")
