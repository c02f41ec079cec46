#!/usr/bin/python3
# What a test sees of GNOME Shell and how it types there, as one process that answers lines on
# standard input (no interpreter start per screenshot):
#   pixels X,Y...   -> the colour at each point now, "#rrggbb ..." (one small screenshot each)
#   shot FILE       -> a screenshot of the whole screen into FILE (PNG)
#   keys SYM[+SYM...] ... -> each chord pressed and released in turn (X keysym names)
#   windows         -> the shell's windows, "TITLE:focused" or "TITLE:-", tab-separated
# It owns the names the shell asks of a screenshot's caller and of one that lists windows, and
# types through a remote desktop session of mutter's (the first key of a new session is lost: a
# Shift goes first).
import os
import sys
import tempfile

import gi

gi.require_version("Gio", "2.0")
gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf, Gio, GLib  # noqa: E402

KEYSYMS = {"Shift": 0xFFE1, "Control": 0xFFE3, "Escape": 0xFF1B, "Return": 0xFF0D}

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
owned = []
for name in ("org.gnome.Screenshot", "org.freedesktop.impl.portal.desktop.gtk"):
    Gio.bus_own_name_on_connection(bus, name, 0, lambda *a: owned.append(True), None)
context = GLib.MainContext.default()
while len(owned) < 2:
    context.iteration(True)
# The shell learns who owns them from the bus, a moment later.
for _ in range(50):
    context.iteration(False)


def call(name, path, interface, method, args=None, reply=None):
    return bus.call_sync(name, path, interface, method, args, reply and GLib.VariantType(reply),
                         0, 5000, None)


session = call("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
               "org.gnome.Mutter.RemoteDesktop", "CreateSession", None, "(o)")[0]


def session_call(method, args=None):
    call("org.gnome.Mutter.RemoteDesktop", session, "org.gnome.Mutter.RemoteDesktop.Session",
         method, args)


session_call("Start")


def key(sym, pressed):
    code = KEYSYMS.get(sym, ord(sym[0]) if len(sym) == 1 else None)
    session_call("NotifyKeyboardKeysym", GLib.Variant("(ub)", (code, pressed)))


key("Shift", True)
key("Shift", False)

shot = os.path.join(tempfile.mkdtemp(), "area.png")


def screenshot_area(x, y, w, h, path):
    ok, _ = call("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                 "org.gnome.Shell.Screenshot", "ScreenshotArea",
                 GLib.Variant("(iiiibs)", (x, y, w, h, False, path)), "(bs)")
    return ok


def pixel(x, y):
    if not screenshot_area(x, y, 1, 1, shot):
        return "?"
    data = GdkPixbuf.Pixbuf.new_from_file(shot).get_pixels()
    return "#%02x%02x%02x" % (data[0], data[1], data[2])


print("ready", flush=True)
for line in sys.stdin:
    words = line.split()
    if not words:
        continue
    try:
        if words[0] == "pixels":
            print(" ".join(pixel(*map(int, p.split(","))) for p in words[1:]), flush=True)
        elif words[0] == "shot":
            ok, _ = call("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                         "org.gnome.Shell.Screenshot", "Screenshot",
                         GLib.Variant("(bbs)", (False, False, words[1])), "(bs)")
            print("ok" if ok else "failed", flush=True)
        elif words[0] == "windows":
            found = call("org.gnome.Shell", "/org/gnome/Shell/Introspect",
                         "org.gnome.Shell.Introspect", "GetWindows", None, "(a{ta{sv}})")[0]
            print("\t".join("%s:%s" % (w.get("title", ""), "focused" if w.get("has-focus") else "-")
                            for w in found.values()), flush=True)
        elif words[0] == "keys":
            for chord in words[1:]:
                syms = chord.split("+")
                for sym in syms:
                    key(sym, True)
                for sym in reversed(syms):
                    key(sym, False)
            print("ok", flush=True)
        else:
            print("unknown", flush=True)
    except GLib.Error as error:
        print("error: " + error.message.replace("\n", " "), flush=True)
