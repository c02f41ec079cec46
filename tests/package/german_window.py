#!/usr/bin/python3
"""The packaged program read as a screen reader reads it, started with LANGUAGE=de: its window
speaks German.

Usage: german_window.py VELMOR   (run through tests/support/atspi-run.sh)
"""
import sys

from atspi import check, eventually, find_app, pyatspi, report, start, stop, walk

process = start([sys.argv[1]])
try:
    app = find_app("Velmor")
    tabs = eventually(lambda: {n.name for n in walk(app) if n.getRole() == pyatspi.ROLE_PAGE_TAB})
    check({"Start", "Thema", "Inhalte", "Klang", "Allgemein", "Über"} <= tabs,
          "the sections are named in German: %s" % sorted(tabs))
    check(not {"Home", "Theme", "Sound", "General", "About"} & tabs, "and none in English")
    names = {n.name for n in walk(app)}
    check("Velmor ist aktiv. Zum Pausieren klicken." in names,
          "the session's button says in German what a press does")
finally:
    stop(process)
report("German window")
